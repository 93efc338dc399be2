# Tavrel. The two everyday commands: `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SUMUP = $(BUILD_DIR)/src/cli/tavrel-sumup
# The example data is copied here before each run, so that books are never
# written into the source tree.
RUN_DIR = $(BUILD_DIR)/run/examples

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR) && cp examples/*.csv $(RUN_DIR)/
	@$(SUMUP) $(RUN_DIR); status=$$?; \
	 echo; echo "books: $(RUN_DIR)/output"; exit $$status

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	@python3 bench/bench.py --sumup $(SUMUP) --work $(BUILD_DIR)/bench

clean:
	rm -rf $(BUILD_DIR)
