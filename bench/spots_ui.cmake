# corvane_bench(name SOURCES ... [QT])
corvane_bench(bench_spots_ui SOURCES SpotFloodBench.cpp QT)
target_link_libraries(bench_spots_ui PRIVATE Qt6::Test corvane_test_net)
target_compile_definitions(bench_spots_ui PRIVATE CORVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
