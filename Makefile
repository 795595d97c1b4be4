# The two commands that matter: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: all deps check-layers run test test-asan test-clang test-tsan bench bench-startup fuzz fuzz-run clean

all: deps
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

deps:
	scripts/install-deps

# Which code may include which: the table is in the script.
check-layers:
	scripts/check-layers

# The application against the local stand-in of the service (see README.md),
# with the `defaults` tool of the same app group. RUN_ARGS go to run-local,
# e.g. RUN_ARGS="--standin --log-requests"; `scripts/run-local --help`.
RUN_ARGS ?=
run: deps
	cmake --preset local
	cmake --build --preset local -j $(JOBS) --target kestrova-standin kestrova defaults
	scripts/run-local $(RUN_ARGS)

# The end-to-end tests need a build for the stand-in (its hosts and port), so
# they run from the local presets, which build only what they use.
E2E_TARGETS := kestrova kestrova-standin kestrova_e2e_tests

test: deps check-layers
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)
	ctest --preset dev -j $(JOBS)
	cmake --preset local
	cmake --build --preset local -j $(JOBS) --target $(E2E_TARGETS)
	ctest --preset local -L e2e

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)
	cmake --preset local-asan
	cmake --build --preset local-asan -j $(JOBS) --target $(E2E_TARGETS)
	ctest --preset local-asan -L e2e

# The same tests built by the second compiler: a coroutine form that one
# compiler gets wrong shows up as a test failure of that build.
test-clang: deps
	cmake --preset clang
	cmake --build --preset clang -j $(JOBS)
	ctest --preset clang -j $(JOBS)

# Every test: threads are not only where the runtime's own tests are.
test-tsan: deps
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS)
	ctest --preset tsan -j $(JOBS)

# startup_bench needs the local build and a display: bench-startup runs it.
bench: deps
	cmake --preset release
	cmake --build --preset release -j $(JOBS)
	@for b in build/release/bench/*_bench; do \
		[ "$$b" = build/release/bench/startup_bench ] && continue; echo "== $$b"; $$b; done

# Start-up of the application beside the bare web engine, on the stand-in's
# sign-in page, under a display and a session bus of its own. The stand-in
# takes the build's port, so nothing else may serve it meanwhile.
STARTUP_RUNS ?= 7
LOCAL_RELEASE := build/local-release
bench-startup: deps
	cmake --preset local-release
	cmake --build --preset local-release -j $(JOBS) --target kestrova kestrova-standin webkit_floor startup_bench
	xvfb-run -a -s "-screen 0 1024x900x24" dbus-run-session -- $(LOCAL_RELEASE)/bench/startup_bench \
		--application $(LOCAL_RELEASE)/kestrova/kestrova --floor $(LOCAL_RELEASE)/bench/webkit_floor \
		--standin $(LOCAL_RELEASE)/tools/standin/kestrova-standin --runs $(STARTUP_RUNS) \
		--port $$(sed -n 's/^KESTROVA_SERVICE_PORT:STRING=//p' $(LOCAL_RELEASE)/CMakeCache.txt) \
		--url https://$$(sed -n 's/^KESTROVA_SERVICE_DOMAIN:STRING=//p' $(LOCAL_RELEASE)/CMakeCache.txt):$$(sed -n 's/^KESTROVA_SERVICE_PORT:STRING=//p' $(LOCAL_RELEASE)/CMakeCache.txt)/login

# Builds the fuzz targets and their generated seeds, then runs every seed
# once: a build that breaks or a seed that fails shows at once.
FUZZ_SECONDS ?= 120
# Above the largest seed, the heavy user of about 5 MB.
FUZZ_MAX_LEN := 8388608
JSON_FUZZ_CORPUS := build/fuzz/json_fuzz_corpus
JSON_FUZZ_SEEDS := build/fuzz/fuzz/json_fuzz_seeds fuzz/json_fuzz/corpus

fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	build/fuzz/fuzz/json_fuzz -max_len=$(FUZZ_MAX_LEN) -runs=0 $(JSON_FUZZ_SEEDS)

# Fuzzes for FUZZ_SECONDS in JOBS processes. What it learns is kept in
# build/fuzz/json_fuzz_corpus; an input that fails is written to
# build/fuzz/json_fuzz-crash-* (or -leak-, -timeout-, -oom-).
fuzz-run: fuzz
	mkdir -p $(JSON_FUZZ_CORPUS)
	build/fuzz/fuzz/json_fuzz -max_len=$(FUZZ_MAX_LEN) -max_total_time=$(FUZZ_SECONDS) -fork=$(JOBS) \
		-artifact_prefix=build/fuzz/json_fuzz- $(JSON_FUZZ_CORPUS) $(JSON_FUZZ_SEEDS)

clean:
	rm -rf build
