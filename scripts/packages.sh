# The Debian packages of each task, sourced by the scripts.
# shellcheck disable=SC2034
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
                qt6-qpa-plugins fonts-wqy-microhei fonts-dejavu-core)
TEST_PACKAGES=(libgtest-dev libgmock-dev clang libclang-rt-14-dev)
# Benchmarks: Google Benchmark; an X server with the DAMAGE extension's client
# library; a D-Bus session with the accessibility bus, as a desktop has.
BENCH_PACKAGES=(libbenchmark-dev xvfb libxcb-damage0-dev dbus-daemon at-spi2-core)

# The Debian package, and the checks of the package and the desktop files.
PACKAGE_PACKAGES=(dpkg-dev)
TEST_PACKAGES+=(qt6-svg-dev appstream desktop-file-utils "${PACKAGE_PACKAGES[@]}")
