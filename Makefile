# make run   - installs what is missing, builds the program (only), prepares the working folder run/ and starts it
# make test  - installs what is missing, builds and runs every test through ctest
# make bench - builds and prints the performance figures
# make package - builds the Debian package (build/corvane_<version>_<arch>.deb)
# make asan  - builds everything with AddressSanitizer and UBSan in build-asan/ and runs the logic and
#              window tests there (every sanitizer report stops the test that made it)
# make tsan  - builds the threaded code's tests (the keyer, the super-check and call history
#              loaders) with ThreadSanitizer in build-tsan/ and runs them (a report fails the test)
# make fuzz  - builds the fuzz targets with clang and runs each for FUZZ_SECONDS (default 300);
#              FUZZ_TARGETS="log_file cw_settings" runs only those (see fuzz/README.md)
BUILD ?= build
FUZZ_BUILD ?= build-fuzz
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
TSAN_TESTS ?= test_cw_logic test_cw_windows test_scp test_scp_window test_history test_history_window
FUZZ_SECONDS ?= 300
FUZZ_TARGETS ?=
JOBS ?= $(shell nproc)
RUN_DIR ?= run

.PHONY: all deps configure build run test bench package fuzz asan tsan clean format

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

run: configure
	@cmake --build $(BUILD) --target corvane -j$(JOBS)
	@mkdir -p $(RUN_DIR)
	@echo "Working folder: $(abspath $(RUN_DIR))"
	@cd $(RUN_DIR) && $(abspath $(BUILD))/corvane

test: build
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

bench: build
	@cmake --build $(BUILD) --target benches -j$(JOBS) >/dev/null
	@bash $(BUILD)/run-benches.sh

package: build
	@cd $(BUILD) && cpack --config CPackConfig.cmake

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DCORVANE_FUZZ=ON -DCORVANE_TESTS=OFF -DCORVANE_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) --target fuzzers -j$(JOBS)
	@bash fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

asan: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=address,undefined \
		-DCORVANE_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)
	@cd $(ASAN_BUILD) && ASAN_OPTIONS=halt_on_error=1:detect_leaks=0:abort_on_error=1 \
		UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j$(JOBS) -LE 'e2e|package'

# Only these test programs are built, and run directly, each in its own build folder as ctest does.
tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVANE_SANITIZE=thread \
		-DCORVANE_BENCH=OFF >/dev/null
	@cmake --build $(TSAN_BUILD) --target $(TSAN_TESTS) -j$(JOBS)
	@cd $(TSAN_BUILD) && for t in $(TSAN_TESTS); do \
		p=$$(find tests -name $$t -type f -executable | head -1); echo "== $$p"; \
		(cd $$(dirname $$p) && QT_QPA_PLATFORM=offscreen \
		TSAN_OPTIONS="halt_on_error=1 exitcode=66 second_deadlock_stack=1 suppressions=$(abspath tests/tsan.supp)" \
		./$$t --gtest_brief=1) || exit 1; \
	done

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD) $(FUZZ_BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
