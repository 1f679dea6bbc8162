// glibc's on_exit for the page (declared by web/onExit.h): a page is closed,
// never exited, so nothing is registered.
extern "C" int on_exit(void (*)(int, void*), void*)
{
    return 0;
}
