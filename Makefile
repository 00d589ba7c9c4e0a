# make test: installs what is missing (as root), creates the Wine prefix once, then runs
#            the native test workflow, the same under ASan+UBSan, the Windows one (under Wine)
#            and the i686 build.
# make run:  builds the Windows exe and starts Kitwright under Wine.
.PHONY: test run deps wineprefix native asan windows i686 clean

test: deps wineprefix i686 native asan windows

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

run: deps wineprefix
	@bash cmake/run.sh

clean:
	rm -rf build/native build/native-asan build/windows build/windows-i686 build/fuzz

# make bench: times plugin creation with a folder-tree copy against a plain recursive copy,
#             natively and under Wine. Not part of `make test`.
.PHONY: bench
bench: deps wineprefix
	cmake --preset native
	cmake --build --preset native --target kw_copy_bench
	./build/native/tests/bench/kw_copy_bench
	cmake --preset windows
	cmake --build --preset windows --target kw_copy_bench
	bash cmake/wine-run.sh build/windows/tests/bench/kw_copy_bench.exe

# make fuzz: builds the libFuzzer targets with clang 14 (installing it when missing) and runs
#            each in turn; KW_FUZZ_SECONDS="text=420 ini=420 model=240 writers=300" sets the
#            seconds per target. Not part of `make test`.
.PHONY: fuzz
fuzz: deps
	@KW_WITH_FUZZ=1 bash cmake/install-deps.sh
	cmake --preset fuzz
	cmake --build --preset fuzz -j2
	bash cmake/fuzz.sh
