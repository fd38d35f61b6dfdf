corvane_bench(bench_scp SOURCES ScpBench.cpp)
corvane_bench(bench_scp_window SOURCES ScpWindowBench.cpp QT)
target_link_libraries(bench_scp_window PRIVATE Qt6::Test)
target_compile_definitions(bench_scp_window PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
