#pragma once
// glibc's on_exit, which the recording's writer registers its end with; the
// page never exits, so src/webExit.cpp registers nothing. Forced into the
// recording's compilation by web/web.cmake.
#ifdef __cplusplus
extern "C" {
#endif
int on_exit(void (*function)(int, void*), void* argument);
#ifdef __cplusplus
}
#endif
