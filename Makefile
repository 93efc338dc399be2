# Tavrel. The two everyday commands: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SUMUP = $(BUILD_DIR)/src/cli/tavrel-sumup
# The example data is copied here before each run, so that books are never
# written into the source tree. It is written in the Japanese conventions,
# so the run takes those (the C locale's) whatever the shell's locale.
RUN_DIR = $(BUILD_DIR)/run/examples

SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 120
FUZZ_TARGETS = csv convert kamoku tantosha zandaka kinsen run

.PHONY: all deps configure build run test test-sanitize fuzz bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR) && cp examples/*.csv $(RUN_DIR)/
	@LC_ALL=C.UTF-8 $(SUMUP) $(RUN_DIR); status=$$?; \
	 echo; echo "books: $(RUN_DIR)/output"; exit $$status

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	    ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS, with both sanitizers, starting from a
# copy of its seed corpus (tests/fuzz/corpus/<target>). Findings are written
# to $(FUZZ_DIR)/findings/<target>/.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(FUZZ_DIR)/corpus/$$t $(FUZZ_DIR)/findings/$$t; \
	    cp -n tests/fuzz/corpus/$$t/* $(FUZZ_DIR)/corpus/$$t/ 2>/dev/null; \
	    echo "fuzz $$t: $(FUZZ_SECONDS) s"; \
	    $(FUZZ_DIR)/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=20 \
	        -artifact_prefix=$(FUZZ_DIR)/findings/$$t/ $(FUZZ_DIR)/corpus/$$t 2>&1 | tail -n 2 || exit 1; \
	done

bench: build
	@python3 bench/bench.py --sumup $(SUMUP) --work $(BUILD_DIR)/bench

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
