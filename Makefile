# make test: installs what is missing (as root), creates the Wine prefix once, then runs
#            the native test workflow, the same under ASan+UBSan, the Windows one (under Wine)
#            and the i686 build.
# make run:  builds the Windows exe and starts Kitwright under Wine (without an X display:
#            under Xvfb, with a screenshot in build/screenshots/run.png).
# make dist: build/dist/Kitwright-<version>.zip (stripped x86-64 and i686 exes, each with
#            kitwright-cli.exe beside it, the guide).
# make screenshots: every page and dialog under Xvfb, into build/screenshots/.
# make format: applies .clang-format; make format-check (part of make test) fails on a file
#              that is not formatted.
# make tidy:  clang-tidy (.clang-tidy) over the portable core and the Windows code; any
#             finding fails. Not part of make test.
.PHONY: test run deps wineprefix native asan windows i686 clean dist screenshots format format-check tidy

test: deps format-check wineprefix i686 native asan windows

deps:
	@bash cmake/install-deps.sh

wineprefix: deps
	@bash cmake/wine-prefix.sh

native: deps
	cmake --workflow --preset native

# The portable core and its tests again, under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake --workflow --preset native-asan

windows: deps wineprefix
	cmake --workflow --preset windows

i686: deps
	cmake --preset windows-i686
	cmake --build --preset windows-i686

run: deps
	@bash cmake/install-deps.sh screenshots
	@bash cmake/run.sh

dist: deps
	@bash cmake/dist.sh

screenshots: deps
	@bash cmake/install-deps.sh screenshots
	@bash cmake/screenshots.sh

format: deps
	@bash cmake/format.sh apply

format-check: deps
	@bash cmake/format.sh check

tidy: deps
	@bash cmake/install-deps.sh tidy
	@bash cmake/tidy.sh

clean:
	rm -rf build/native build/native-asan build/native-release build/windows build/windows-i686 build/fuzz build/dist build/screenshots

# make bench: start-up against a minimal window, exe size and imports, peak working set, the
#             model's costs at 1k, 10k and 30k files (native Release and under Wine), reading
#             back and replacing a 1,000-file plugin (natively, Release), kitwright-cli create
#             against cp -r / xcopy (KW_BENCH_CLI=0 leaves it out), and plugin creation with a
#             folder-tree copy against a plain recursive copy (natively and under Wine;
#             KW_BENCH_COPY=0 leaves that long part out). Not part of `make test`.
.PHONY: bench
bench: deps wineprefix
	@bash cmake/bench.sh

# make fuzz: builds the libFuzzer targets with clang 14 (installing it when missing) and runs
#            each in turn; KW_FUZZ_SECONDS="text=420 ini=420 model=240 writers=300" sets the
#            seconds per target. Not part of `make test`. Phony: the fuzz/ folder would
#            otherwise stand in for the target and make would do nothing.
.PHONY: fuzz
fuzz: deps
	@KW_WITH_FUZZ=1 bash cmake/install-deps.sh
	cmake --preset fuzz
	cmake --build --preset fuzz -j2
	bash cmake/fuzz.sh
