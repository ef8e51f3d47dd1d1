// The exceptions the C++ library throws of its own accord (memory exhausted, a length or a position
// out of range): all of them program faults or the end of the memory.
// libstdc++'s own throw functions build its string-carrying exception classes, which bring a
// second, reference-counted string implementation and a formatter into the executable (about 30 KB,
// an eighth of it). Here each throws a plain exception with a fixed message instead, which the
// window procedures catch like any other and the terminate handler reports.

#include <exception>
#include <new>

#if defined(__GLIBCXX__)
namespace {

class LibraryFault : public std::exception {
 public:
  explicit LibraryFault(const char* what) : what_(what) {}
  const char* what() const noexcept override { return what_; }

 private:
  const char* what_;
};

}  // namespace

// libstdc++ keeps all its throw functions in one object (functexcept.o). A call to one not
// defined here (std::stoi, say, reaches __throw_invalid_argument) pulls that object in, and the
// link fails with "multiple definition" of these: then define that one here too, the same way.
// Defining all fifteen ahead costs 512 bytes of the x64 program for nothing it calls.
namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_length_error(const char* what) { throw LibraryFault(what); }
void __throw_logic_error(const char* what) { throw LibraryFault(what); }
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryFault(format); }

}  // namespace std
#endif
