# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR      ?= build
SANITIZE_DIR   ?= build-sanitize
CMAKE_FLAGS    := -G Ninja -DBRILLORA_WERROR=$(if $(CI),ON,OFF)

.PHONY: all bootstrap build build-sanitize run screenshots test bench package clean

all: build

bootstrap:
	@scripts/bootstrap

build: bootstrap
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD_DIR)

build-sanitize: bootstrap
	@cmake -S . -B $(SANITIZE_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRILLORA_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_DIR)

# The desktop program when there is a display; on a server the headless main
# job instead: the brilliant-style sample rendered to a picture, and its data.
SAMPLE := GEM_DAT/RoundBrilliant.brl
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BUILD_DIR)/bin/brillora; \
	else \
	  echo "make run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless job instead"; \
	  $(BUILD_DIR)/bin/brillora-cli render $(SAMPLE) -o $(BUILD_DIR)/RoundBrilliant.png && \
	  echo "make run: rendered $(SAMPLE) to $(BUILD_DIR)/RoundBrilliant.png"; \
	  $(BUILD_DIR)/bin/brillora-cli info $(SAMPLE); \
	fi

# A picture of every window, made on the offscreen platform.
screenshots: build
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bin/brillora --screenshots $(BUILD_DIR)/screenshots
	@echo "screenshots written to $(BUILD_DIR)/screenshots/"

# The optimized suite, then the same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build build-sanitize
	@cd $(BUILD_DIR) && ctest --output-on-failure -j2
	@cd $(SANITIZE_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2

bench: build
	@$(BUILD_DIR)/bin/brillora-bench

# The Debian package of the optimized build, checked by lintian: an error
# fails the target, warnings are shown.
package: build
	@cd $(BUILD_DIR) && cpack -G DEB >/dev/null
	@lintian --fail-on error $(BUILD_DIR)/brillora_*.deb
	@echo "make package: $$(ls $(BUILD_DIR)/brillora_*.deb)"

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
