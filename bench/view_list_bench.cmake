# The View Allowed Group dialog lives in the plug-in's core library.
if(TARGET plugin_core)
  target_link_libraries(view_list_bench PRIVATE plugin_core platform_testing)
endif()
