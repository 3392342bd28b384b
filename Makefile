# The two commands of a fresh machine: `make test` and `make demo`.
BUILD      ?= build
BUILD_TYPE ?= Sanitize
CMAKE_ARGS ?=

.PHONY: deps configure build release test demo demo-odbc bench tidy clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j2

# The crash test runs the tool hundreds of times: it is built optimised,
# without sanitizers, in build-release, and runs after the other tests.
test: build release
	@ctest --test-dir $(BUILD) --output-on-failure -j2
	@cmake --build build-release -j2 --target crash_tests
	@ctest --test-dir build-release -L crash --output-on-failure -j2

demo: build
	@bash demo/run-demo.sh $(BUILD)

# The same demo over the network: standin-server, unixODBC and FreeTDS.
demo-odbc: build
	@bash demo/run-demo-odbc.sh $(BUILD)

# The optimised build without sanitizers, for the benchmarks and the crash test.
release: deps
	@cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DSQLUPDATE_TESTS=OFF \
	       -DSQLUPDATE_CRASH_TESTS=ON -DSQLUPDATE_WITH_QT=OFF >/dev/null

bench: release
	@cmake --build build-release -j2
	@bash bench/run-benchmarks.sh build-release

tidy: configure
	@run-clang-tidy -quiet -p $(BUILD) $(shell git ls-files '*.cpp' | grep -v '^tests/') 

clean:
	rm -rf $(BUILD) build-release
