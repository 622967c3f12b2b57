# Shared by fuzz/run and fuzz/run-until, so that a fault one of them finds the other
# could find too. Sourced, not run.

# Builds the fuzz targets named in "$@" with clang into $build (libFuzzer with the
# address and undefined-behaviour sanitizers). Warnings in the libraries are the g++
# builds' business (-Werror there); clang may warn about things g++ does not, and that
# must not stop the fuzzing. The fuzz targets themselves are built with -Werror.
fuzz_build() {
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
        -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link \
        -DZVX_SANITIZE=address,undefined -DZVX_FUZZ=ON -DBUILD_TESTING=OFF \
        -DZVX_WERROR=OFF >/dev/null
    cmake --build "$build" --parallel "$(nproc)" --target "${@/#/fuzz_}"
}

# The longest input a target is given. Inputs beyond a few kilobytes only repeat what
# shorter ones already reach. The settings reader reads the file afresh for every value
# (another program may have written it in between), and its fuzzer reads every value
# before and after a write: an input of 4 KB holding a thousand keys costs thousands of
# file reads. A kilobyte holds every construct of the file's grammar many times over.
fuzz_max_len() {
    case $1 in
    inifile) echo 1024 ;;
    *) echo 4096 ;;
    esac
}
