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
  libcli11-dev:/usr/share/cmake/CLI11/CLI11Config.cmake
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

# What the Python package's build and tests need besides the build: the
# package is built by setuptools through the CMake build, installed into a
# virtual environment over Debian's numpy, pandas and scikit-learn, and
# tested with pytest.
PYTHON_PACKAGES=(
  python3-dev:/usr/include/python3*/Python.h
  pybind11-dev:/usr/lib/cmake/pybind11/pybind11Config.cmake
  python3-venv:/usr/lib/python3*/ensurepip/__init__.py
  python3-setuptools:/usr/lib/python3/dist-packages/setuptools/__init__.py
  python3-wheel:/usr/lib/python3/dist-packages/wheel/__init__.py
  python3-numpy:/usr/lib/python3/dist-packages/numpy/__init__.py
  python3-pandas:/usr/lib/python3/dist-packages/pandas/__init__.py
  python3-sklearn:/usr/lib/python3/dist-packages/sklearn/__init__.py
  python3-pytest:/usr/lib/python3/dist-packages/pytest/__init__.py
)
