# The group index lives in the allowed_groups library, the pool in its core.
if(TARGET allowed_groups)
  target_link_libraries(group_tables_bench PRIVATE allowed_groups absl::flat_hash_map absl::flat_hash_set absl::hash)
endif()
