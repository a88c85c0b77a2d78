# The baseline writes with libxlsxwriter itself.
find_package(PkgConfig REQUIRED)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
target_link_libraries(excel_export_bench PRIVATE PkgConfig::XLSXWRITER)
