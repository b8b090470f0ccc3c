// The success sound, through the system's own player: PlaySound plays the
// WAV file while the program goes on. A module of its own, as on Linux, so
// the program's start loads nothing for sound.
// clang-format off
#include <windows.h>
#include <mmsystem.h>
// clang-format on

extern "C" FENWIR_EXPORT void fenwir_play_sound(const char16_t* path)
{
    PlaySoundW(reinterpret_cast<const wchar_t*>(path), nullptr,
               SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}
