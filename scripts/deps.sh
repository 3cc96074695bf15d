# Sourced by the run and test scripts: makes sure the Debian packages they
# need are present. As root, missing packages are installed with apt-get;
# otherwise the script names them and stops.

# requirePackages PACKAGE:PROBE... -- PROBE is a command name, or a path
# (starting with /) whose existence shows the package is installed.
requirePackages() {
  local missing=()
  local entry package probe
  for entry in "$@"; do
    package=${entry%%:*}
    probe=${entry#*:}
    if [[ $probe == /* ]]; then
      compgen -G "$probe" > /dev/null || missing+=("$package")
    else
      command -v "$probe" > /dev/null 2>&1 || missing+=("$package")
    fi
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0
  if [[ $(id -u) -eq 0 ]] && command -v apt-get > /dev/null 2>&1; then
    echo "geneclub: installing ${missing[*]}" >&2
    apt-get update -q > /dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}" > /dev/null
  else
    echo "geneclub: missing packages; install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
}

# What building the program needs.
BUILD_PACKAGES=(
  g++:g++ cmake:cmake make:make
  libtbb-dev:/usr/lib/x86_64-linux-gnu/cmake/TBB/TBBConfig.cmake
  nlohmann-json3-dev:/usr/share/cmake/nlohmann_json/nlohmann_jsonConfig.cmake
  zlib1g-dev:/usr/include/zlib.h
)

# What the whole test suite needs besides the build.
TEST_PACKAGES=(
  libgtest-dev:/usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake
  libbenchmark-dev:/usr/lib/x86_64-linux-gnu/cmake/benchmark/benchmarkConfig.cmake
  clang-format:clang-format
  valgrind:valgrind
  clang:clang++
  libclang-rt-14-dev:/usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a
  nodejs:node
  chromium:/usr/bin/chromium
)
