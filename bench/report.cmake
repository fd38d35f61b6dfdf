corvane_bench(bench_report SOURCES ReportBench.cpp QT)
target_compile_definitions(bench_report PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               CORVANE_BUILD_DATA_DIR="${CMAKE_BINARY_DIR}/data")
target_link_libraries(bench_report PRIVATE Qt6::Test)
add_dependencies(bench_report corvane_coastlines)
