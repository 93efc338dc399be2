# Tavrel: the two everyday commands are `make run` and `make test`.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
