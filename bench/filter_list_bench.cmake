# The filter list in a test dialog: the platform's reset between runs.
target_link_libraries(filter_list_bench PRIVATE platform_testing)
