# Where the Windows build finds and keeps its toolchain (sourced by the
# Windows scripts): the Qt archive, and the cache folder that holds Qt
# unpacked and the libraries built for Windows.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
cache=${FENWIR_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/fenwir-lite/windows}
export FENWIR_QT_ARCHIVE=${FENWIR_QT_ARCHIVE:-$root/../shared/toolchains/qt6.4.2-mingw.tar.xz}
export FENWIR_QT_MINGW=${FENWIR_QT_MINGW:-$cache/qt6.4.2-mingw}
export FENWIR_WINDOWS_DEPS=${FENWIR_WINDOWS_DEPS:-$cache/deps}
