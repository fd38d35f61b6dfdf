corvane_bench(bench_history SOURCES HistoryBench.cpp QT)
target_link_libraries(bench_history PRIVATE Qt6::Test)
target_compile_definitions(bench_history PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
