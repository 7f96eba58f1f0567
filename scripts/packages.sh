# The Debian packages of each task, sourced by the scripts.
# shellcheck disable=SC2034
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev
                qt6-qpa-plugins fonts-arphic-uming qt6-translations-l10n)
TEST_PACKAGES=(libgtest-dev libgmock-dev clang libclang-rt-14-dev)
# The window tests' images use the dialog font and, for the curve's labels, the
# monospace face fontconfig gives: DejaVu Sans Mono.
TEST_PACKAGES+=(fonts-dejavu-core)
# The program run on an X server and driven from the keyboard; F1's help
# viewer found (or not) through the desktop's own xdg-open and xdg-mime.
TEST_PACKAGES+=(xvfb xdotool xdg-utils file)
# Benchmarks: Google Benchmark; an X server with the DAMAGE extension's client
# library; a D-Bus session with the accessibility bus, as a desktop has.
BENCH_PACKAGES=(libbenchmark-dev xvfb libxcb-damage0-dev dbus-daemon at-spi2-core)

# The Debian package, and the checks of the package and the desktop files.
PACKAGE_PACKAGES=(dpkg-dev)
TEST_PACKAGES+=(qt6-svg-dev appstream desktop-file-utils lintian "${PACKAGE_PACKAGES[@]}")
