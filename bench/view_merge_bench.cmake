# The View Allowed Group dialog lives in the allowed_groups library.
if(TARGET allowed_groups)
  target_link_libraries(view_merge_bench PRIVATE allowed_groups platform_testing)
endif()
