# The two commands a newcomer needs: `make run` and `make test`.
.PHONY: all deps build run test test-plain test-asan test-tsan bench format clean

BUILD_TYPE ?= RelWithDebInfo
CMAKE_GEN = -G Ninja

all: build

deps:
	@bash scripts/deps.sh

build: deps
	@cmake -S . -B build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null
	@cmake --build build

run: build
	@./build/bin/quillanvero $(ARGS)

test: deps
	@bash scripts/test.sh

bench: build
	@bash scripts/bench.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build build-asan build-tsan
