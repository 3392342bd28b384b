# The two commands of a fresh machine: `make test` and `make demo`.
BUILD      ?= build
BUILD_TYPE ?= Sanitize
CMAKE_ARGS ?=

.PHONY: deps configure build release windows windows-test test demo demo-odbc bench tidy tidy-engine format-check clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j2

# The crash test runs the tool hundreds of times: it is built optimised,
# without sanitizers, in build-release, and runs after the other tests;
# then the Windows build and its tests under Wine.
# The layout is checked first (seconds), clang-tidy last (minutes).
test: format-check build release
	@ctest --test-dir $(BUILD) --output-on-failure -j2
	@cmake --build build-release -j2 --target crash_tests
	@ctest --test-dir build-release -L crash --output-on-failure -j2
	@$(MAKE) --no-print-directory windows-test
	@$(MAKE) --no-print-directory tidy-engine

demo: build
	@bash demo/run-demo.sh $(BUILD)

# The same demo over the network: standin-server, unixODBC and FreeTDS.
demo-odbc: build
	@bash demo/run-demo-odbc.sh $(BUILD)

# The optimised build without sanitizers, for the benchmarks and the crash test.
release: deps
	@cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSQLUPDATE_TESTS=OFF \
	       -DSQLUPDATE_CRASH_TESTS=ON -DSQLUPDATE_WITH_QT=OFF >/dev/null

# sqlupdate.exe and standin-sql.exe for 64-bit Windows, cross-built with
# mingw-w64 into build-windows, and the download dist/sqlupdate-VERSION-
# windows-x64.zip (the two programs, SysDBAdo.INI and the read-me files of
# packaging/windows). The script generators run on this machine:
# they come from build-release, whose configure step names them in
# host-tools.cmake; so do the Linux tool the Windows one is compared with
# and the Linux standin-server its ODBC test talks to.
HOST_PROGRAMS = embed_scripts blz_scripts skr49_scripts anlage_script sports_scripts sqlupdate standin-server
windows: release
	@cmake --build build-release -j2 --target $(HOST_PROGRAMS)
	@cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
	       -DSQLUPDATE_WITH_QT=OFF -DSQLUPDATE_HOST_TOOLS=$(CURDIR)/build-release/host-tools.cmake \
	       -DSQLUPDATE_REFERENCE_TOOL=$(CURDIR)/build-release/bin/sqlupdate \
	       -DSQLUPDATE_HOST_SERVER=$(CURDIR)/build-release/bin/standin-server $(CMAKE_ARGS) >/dev/null
	@cmake --build build-windows -j2 --target sqlupdate standin-sql dist

# The Windows build's tests, cross-built and run through Wine: the engine,
# db, upgrade and console tests, and the demo upgraded by sqlupdate.exe.
windows-test: windows
	@cmake --build build-windows -j2
	@bash scripts/wine-ctest.sh build-windows -j2

bench: release
	@cmake --build build-release -j2
	@bash bench/run-benchmarks.sh build-release

# Static checks with .clang-tidy; each fails on any finding. They read the
# build's compile_commands.json and need the generated sources, so they
# build first.
# tidy: every check over every source file (the static analyzer included;
#       about an hour on two cores).
# tidy-engine: every check but the static analyzer over the engine's
#       sources (about three minutes); part of `make test`.
TIDY = run-clang-tidy -quiet -j2 -p $(BUILD)
tidy: build
	@$(TIDY) $(addprefix $(CURDIR)/,$(shell git ls-files '*.cpp')) >$(BUILD)/tidy.log 2>&1 \
	  || { grep -E 'warning:|error:' $(BUILD)/tidy.log | sort -u; exit 1; }

tidy-engine: build
	@echo "clang-tidy: the engine's sources"
	@$(TIDY) -checks='-clang-analyzer-*' $(addprefix $(CURDIR)/,$(shell git ls-files 'standin/src/*.cpp')) \
	  >$(BUILD)/tidy-engine.log 2>&1 || { grep -E 'warning:|error:' $(BUILD)/tidy-engine.log | sort -u; exit 1; }

# The layout of every C++ file against .clang-format; changes nothing.
format-check: deps
	@clang-format --dry-run --Werror $(shell git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) build-release build-windows
