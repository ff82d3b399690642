# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR      ?= build
SANITIZE_DIR   ?= build-sanitize
CMAKE_FLAGS    := -G Ninja -DBRILLORA_WERROR=$(if $(CI),ON,OFF)

.PHONY: all bootstrap build build-sanitize run test bench clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR)

build-sanitize: bootstrap
	@cmake -S . -B $(SANITIZE_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRILLORA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR)

run: build
	@$(BUILD_DIR)/bin/brillora-cli info --default

# The optimized suite, then the same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build build-sanitize
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2

bench: build
	@$(BUILD_DIR)/bin/brillora-bench

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
