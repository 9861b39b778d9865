// Takes the place of libstdc++'s verbose terminate handler, which would
// print the exception's demangled type to stderr before aborting. A GUI
// program has no stderr, and the demangler and printf that handler pulls
// into a static link are over 60 KiB of Tintwise.exe.
#include <cstdlib>
#include <exception>

#if defined(__GLIBCXX__)
namespace __gnu_cxx {  // NOLINT(bugprone-reserved-identifier): the name libstdc++ links to
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif
