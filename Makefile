# SPDX-FileCopyrightText: 2026 Tavrel developers
# SPDX-License-Identifier: MIT

# Tavrel. The two everyday commands: `make run` and `make test` (./run and
# ./test install what is missing first, make among it, and call them).
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
SUMUP = $(BUILD_DIR)/src/cli/tavrel-sumup
TAVREL = $(BUILD_DIR)/src/app/tavrel
# The example data is copied here before each run, so that books are never
# written into the source tree. It is written in the Japanese conventions,
# so the run takes those (the C locale's) whatever the shell's locale.
RUN_DIR = $(BUILD_DIR)/run/examples

SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 120
FUZZ_TARGETS = csv convert kamoku tantosha zandaka kinsen run

SCREENS = $(BUILD_DIR)/src/windows/tavrel-screens
SCREENS_DIR = $(BUILD_DIR)/screens/examples
PRINT_SHOTS = $(BUILD_DIR)/src/print/tavrel-print-shots
PRINT_SHOTS_DIR = $(BUILD_DIR)/screens/print
PICTURES = $(BUILD_DIR)/screenshots
BENCH_VIEWER_DIR = $(BUILD_DIR)/bench/rows-1000000

.PHONY: all deps configure build run test test-sanitize fuzz bench bench-viewer bench-locations screenshots package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The desktop program on a copy of the example data; without a display, the
# command-line front end on the same copy.
run: build
	@rm -rf $(RUN_DIR) && mkdir -p $(RUN_DIR) && cp examples/*.csv $(RUN_DIR)/
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	    echo "tavrel $(RUN_DIR)"; \
	    LC_ALL=C.UTF-8 $(TAVREL) $(RUN_DIR); \
	 else \
	    echo "No display (DISPLAY and WAYLAND_DISPLAY are empty): running tavrel-sumup instead."; \
	    echo; \
	    LC_ALL=C.UTF-8 $(SUMUP) $(RUN_DIR); status=$$?; \
	    echo; echo "books: $(RUN_DIR)/output"; exit $$status; \
	 fi

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

# The viewer choosing the first book of a run over a cash book of 1,000,000
# rows: Setup, the first painting, scrolling, choosing the cash-book table.
bench-viewer: build
	@python3 bench/bench.py --prepare-only --rows 1000000 --work $(BUILD_DIR)/bench
	@QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 $(SCREENS) bench $(BENCH_VIEWER_DIR)

# The main window opening with 10,000 remembered locations, and a change of
# the location writing the history once.
bench-locations: build
	@QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 $(SCREENS) bench-locations 10000

# Pictures of the viewer (a source table, the first book, a statement, the
# print preview of the book), the chart window, the version and source-data
# dialogs, and the main window (its menu, the dialog of 総会資料を作成..., a
# run and a failed run) over the example data, under a virtual X display;
# then, without a display, a run of the example year that draws the books'
# PDF and the year-end PDF as `tavrel-sumup --pdf --pdf-books` does, page 1
# of each rendered at 100 dots per inch (as a page looks at 100 %), and the
# charts of the year.
screenshots: build
	@rm -rf $(SCREENS_DIR) && mkdir -p $(SCREENS_DIR) && cp examples/*.csv $(SCREENS_DIR)/
	@LC_ALL=C.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" \
	    $(SCREENS) shots $(SCREENS_DIR) $(PICTURES)
	@rm -rf $(PRINT_SHOTS_DIR) && mkdir -p $(PRINT_SHOTS_DIR) && cp examples/*.csv $(PRINT_SHOTS_DIR)/
	@LC_ALL=C.UTF-8 $(PRINT_SHOTS) $(PRINT_SHOTS_DIR) $(PICTURES)
	@pdftoppm -r 100 -f 1 -l 1 -singlefile -png $(PICTURES)/総会資料.pdf $(PICTURES)/yearend-page1
	@pdftoppm -r 100 -f 1 -l 1 -singlefile -png $(PICTURES)/帳簿.pdf $(PICTURES)/books-page1
	@echo $(PICTURES)/yearend-page1.png; echo $(PICTURES)/books-page1.png

# The Debian package, from a Release build of its own installed under /usr,
# so that the program looks for its guide in /usr/share/doc/tavrel/. Prints
# the path of the .deb. It is compiled with Debian's flags for packages
# (dpkg-buildflags) with every hardening feature: stack protector, fortified
# functions, read-only relocations bound at start. A package that lintian
# finds an error or a warning in is a failure. CPack runs in a UTF-8
# locale whatever the shell's (a bare root has none): its archive library
# stores the guide's Japanese file name only in one.
PACKAGE_DIR ?= build-package
PACKAGE_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get
package: deps
	@cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
	    -DBUILD_TESTING=OFF \
	    "-DCMAKE_CXX_FLAGS=$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
	    "-DCMAKE_EXE_LINKER_FLAGS=$$($(PACKAGE_FLAGS) LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_DIR) -j $(JOBS)
	@rm -f $(PACKAGE_DIR)/*.deb
	@cd $(PACKAGE_DIR) && LC_ALL=C.UTF-8 cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
	@lintian --fail-on error,warning $(PACKAGE_DIR)/*.deb >$(PACKAGE_DIR)/lintian.log 2>&1 || \
	    { cat $(PACKAGE_DIR)/lintian.log; echo "lintian rejects the package"; exit 1; }
	@ls -1 $(CURDIR)/$(PACKAGE_DIR)/*.deb

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(PACKAGE_DIR)
