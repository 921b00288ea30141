# Set-up and everyday commands; see README.md.
BUILD   ?= build
ASAN    ?= build-asan
PROFILE ?= build-profile
JOBS    ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60

PREFIX  ?= /usr/local

.PHONY: deps build demo test test-asan fuzz bench install clean

deps:
	scripts/install-deps

# The engine and tarn are optimised with profiles that an instrumented tarn
# writes while assembling the bundled sources (trained again when it changes).
build: deps
	cmake -S . -B $(PROFILE) -DCMAKE_BUILD_TYPE=Release -DTARN_ENGINE_ONLY=ON \
	  -DTARN_PROFILE_GENERATE=$(abspath $(PROFILE))/data
	cmake --build $(PROFILE) -j $(JOBS) --target tarn
	$(MAKE) --no-print-directory $(PROFILE)/data/trained
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DTARN_PROFILE_USE=$(abspath $(PROFILE))/data
	cmake --build $(BUILD) -j $(JOBS)

$(PROFILE)/data/trained: $(PROFILE)/tarn
	rm -rf $(PROFILE)/data
	scripts/train-profile $(PROFILE)
	touch $@

demo: build
	scripts/demo $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The engine and its tests under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTARN_SANITIZE=ON -DTARN_ENGINE_ONLY=ON
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && ctest --output-on-failure -j $(JOBS) -L engine

# The fuzz targets (clang, libFuzzer, ASan, UBSan), each run for FUZZ_SECONDS;
# fails with the reproducer's path when one finds a fault. See tests/fuzz/README.md.
fuzz: deps
	tests/fuzz/run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# tarn, tarnw, the CPU tables, the man page and the desktop entry under
# PREFIX (DESTDIR in front, for packaging).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

bench: build
	bench/run $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZ_BUILD) $(PROFILE)
