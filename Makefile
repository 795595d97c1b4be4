# The two commands that matter: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: all deps check-layers run test test-asan test-tsan bench fuzz clean

all: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

deps:
	scripts/install-deps

# Which code may include which: the table is in the script.
check-layers:
	scripts/check-layers

run: deps
	@echo "kestrova: the application is not built yet; only the platform layer and its tests exist."

test: deps check-layers
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The concurrency runtime and the session are the code with threads in it.
test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS) -L tsan

bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	@for b in build/release/bench/*_bench; do echo "== $$b"; $$b; done

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@echo "fuzzers are in build/fuzz/fuzz/; run one with a corpus folder, e.g. build/fuzz/fuzz/json_fuzz -max_total_time=60"

clean:
	rm -rf build
