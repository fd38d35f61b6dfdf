# corvane_bench(name SOURCES ... [QT])
