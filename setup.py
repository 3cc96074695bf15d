"""Build hook of the geneclub Python package.

The extension module geneclub._engine is built by the project's own CMake
build (option GENECLUB_BUILD_PYTHON, tests off) in a build folder that is kept
between builds, build/python unless GENECLUB_PYTHON_BUILD_DIR names another,
so that a rebuild compiles only what changed. The package's version is the
CMake project's.
"""

import os
import pathlib
import re
import shutil
import subprocess
import sys
import sysconfig

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent
SETUPTOOLS_BUILD = ROOT / "build" / "setuptools"


def project_version():
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(geneclub VERSION ([0-9.]+)", text).group(1)


class CMakeBuild(build_ext):
    """Builds each extension as a target of the CMake build."""

    def build_extension(self, ext):
        build_dir = pathlib.Path(
            os.environ.get("GENECLUB_PYTHON_BUILD_DIR", ROOT / "build" / "python"))
        subprocess.run(
            ["cmake", "-S", str(ROOT), "-B", str(build_dir), "-DCMAKE_BUILD_TYPE=Release",
             "-DGENECLUB_BUILD_PYTHON=ON", "-DGENECLUB_BUILD_TESTS=OFF",
             f"-DPython_EXECUTABLE={sys.executable}"],
            check=True, stdout=subprocess.DEVNULL)
        target = ext.name.rpartition(".")[2]
        subprocess.run(
            ["cmake", "--build", str(build_dir), "--target", target, "-j",
             str(os.cpu_count() or 1)],
            check=True)
        built = build_dir / "python" / (target + sysconfig.get_config_var("EXT_SUFFIX"))
        destination = pathlib.Path(self.get_ext_fullpath(ext.name))
        destination.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, destination)


SETUPTOOLS_BUILD.mkdir(parents=True, exist_ok=True)
setup(
    version=project_version(),
    ext_modules=[Extension("geneclub._engine", sources=[])],
    cmdclass={"build_ext": CMakeBuild},
    # setuptools' own build files go under build/ too, not into the sources.
    options={"build": {"build_base": str(SETUPTOOLS_BUILD)},
             "egg_info": {"egg_base": str(SETUPTOOLS_BUILD)}},
)
