// Include before the headers of a native Linux library, with EndNativeHeaders.h after them.
// winegcc defines the Windows target macros, and native headers would then take the code
// paths meant for the Microsoft C runtime. No include guard: it is used in pairs.
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("__WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#pragma push_macro("__WIN64")
#pragma push_macro("__WIN64__")
#pragma push_macro("__WINNT")
#pragma push_macro("__WINNT__")
#undef _WIN32
#undef WIN32
#undef __WIN32
#undef __WIN32__
#undef _WIN64
#undef WIN64
#undef __WIN64
#undef __WIN64__
#undef __WINNT
#undef __WINNT__
