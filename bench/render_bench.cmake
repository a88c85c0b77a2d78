# The windows in test dialogs: the platform's reset between runs.
target_link_libraries(render_bench PRIVATE platform_testing)
