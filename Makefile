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
	cmake --build --preset local -j $(JOBS) --target kestrova-standin kestrova defaults widgethost pellicor orvane
	scripts/run-local $(RUN_ARGS)

# The end-to-end tests need a build for the stand-in (its hosts and port), so
# they run from the local presets, which build only what they use.
E2E_TARGETS := kestrova kestrova-standin widgethost pellicor orvane shortcuts kestrova_e2e_tests

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
# sign-in page, then the hand-off of a second launch to the running instance
# beside a bare GtkApplication, under a display and a session bus of its own.
# The stand-in takes the build's port, so nothing else may serve it meanwhile.
STARTUP_RUNS ?= 7
HANDOFF_RUNS ?= 21
LOCAL_RELEASE := build/local-release
bench-startup: deps
	cmake --preset local-release
	cmake --build --preset local-release -j $(JOBS) --target kestrova kestrova-standin webkit_floor handoff_floor startup_bench
	xvfb-run -a -s "-screen 0 1024x900x24" dbus-run-session -- $(LOCAL_RELEASE)/bench/startup_bench \
		--application $(LOCAL_RELEASE)/kestrova/kestrova --floor $(LOCAL_RELEASE)/bench/webkit_floor \
		--handoff-floor $(LOCAL_RELEASE)/bench/handoff_floor --handoff-runs $(HANDOFF_RUNS) \
		--standin $(LOCAL_RELEASE)/tools/standin/kestrova-standin --runs $(STARTUP_RUNS) \
		--port $$(sed -n 's/^KESTROVA_SERVICE_PORT:STRING=//p' $(LOCAL_RELEASE)/CMakeCache.txt) \
		--url https://$$(sed -n 's/^KESTROVA_SERVICE_DOMAIN:STRING=//p' $(LOCAL_RELEASE)/CMakeCache.txt):$$(sed -n 's/^KESTROVA_SERVICE_PORT:STRING=//p' $(LOCAL_RELEASE)/CMakeCache.txt)/login

# One fuzz target per kind of input from outside (fuzz/<target>/, README.md
# lists them). Each one's seeds are the hand-written ones in
# fuzz/<target>/corpus and, for inputs that can be large, those generated at
# build time into build/fuzz/fuzz/<target>_seeds.
FUZZ_TARGETS := json_fuzz url_fuzz link_fuzz archive_fuzz extension_stream_fuzz scenes_fuzz appcast_fuzz \
	version_fuzz reduced_user_fuzz api_reply_fuzz intent_wire_fuzz
FUZZ_SECONDS ?= 120
# Above the largest seed, the heavy user of about 5 MB.
FUZZ_MAX_LEN := 8388608
# Seconds one input may take: far above the heaviest seed on a loaded machine,
# so that only a hang stops the run.
FUZZ_TIMEOUT := 60
# The sanitizers of clang 16 look for their symbolizer beside clang, where
# Debian's clang-16 puts none; any llvm-symbolizer reads the debug information.
FUZZ_SYMBOLIZER := $(shell command -v llvm-symbolizer-16 || command -v llvm-symbolizer)
# The seed folders of target $$t, in the shell loops below.
fuzz_seeds = fuzz/$$t/corpus $$(test -d build/fuzz/fuzz/$${t}_seeds && echo build/fuzz/fuzz/$${t}_seeds)
# Target $$t, run with the options every run takes.
fuzz_target = ASAN_SYMBOLIZER_PATH=$(FUZZ_SYMBOLIZER) build/fuzz/fuzz/$$t -max_len=$(FUZZ_MAX_LEN) -timeout=$(FUZZ_TIMEOUT)

# Builds the fuzz targets and their generated seeds, then runs every seed of
# every target once: a build that breaks or a seed that fails shows at once.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
		echo "== $$t"; \
		$(fuzz_target) -runs=0 $(fuzz_seeds) || exit 1; \
	done

# Fuzzes each target for FUZZ_SECONDS in JOBS processes, one after the other
# (FUZZ_TARGETS=url_fuzz picks one). What a target learns is kept in
# build/fuzz/<target>_corpus; an input that fails is written to
# build/fuzz/<target>-crash-* (or -leak-, -timeout-, -oom-), and the run stops.
fuzz-run: fuzz
	@for t in $(FUZZ_TARGETS); do \
		echo "== $$t"; \
		mkdir -p build/fuzz/$${t}_corpus; \
		$(fuzz_target) -max_total_time=$(FUZZ_SECONDS) -fork=$(JOBS) \
			-artifact_prefix=build/fuzz/$$t- build/fuzz/$${t}_corpus $(fuzz_seeds) || exit 1; \
	done

clean:
	rm -rf build
