// Failures travel as thrown, reference-counted exception objects that report themselves once.
#pragma once

#include <cstdint>
#include <string>

#include "core/Alert.h"
#include "core/Smart.h"

class Exception : public SmartImplementation {
  SMART_ABSTRACT(Exception)
 public:
  bool CanCopyFrom(Smart* source) override;
  void CopyFrom(Smart* source) override;

  virtual void Report(int iconKind) = 0;
  void ReportAsWarning() { Report(kAlertExclamation); }
  bool IsReported() const { return reported; }

  // Keeps the exception in gLastException, so that it outlives the unwinding, and throws it as a pointer.
  [[noreturn]] static void Raise(const SmartRef<Exception>& exception);

 protected:
  Exception() = default;
  Exception(const Exception& other) : SmartImplementation(other) {}
  Exception& operator=(const Exception& other) {
    reported = other.reported;
    return *this;
  }
  void SetReported(bool value) { reported = value; }

 private:
  bool reported = false;
};

// An error with a text of its own, shown each time it is reported.
class MessageException : public Exception {
  SMART_ABSTRACT(MessageException)
 public:
  explicit MessageException(const char* text);
  Smart* Clone() const override { return new MessageException(*this); }
  void Report(int iconKind) override;
  const char* GetText() const { return text.empty() ? nullptr : text.c_str(); }

 private:
  std::string text;
};

// The user stopped an operation: it unwinds silently.
class UserCancelException : public Exception {
  SMART_ABSTRACT(UserCancelException)
 public:
  UserCancelException() = default;
  Smart* Clone() const override { return new UserCancelException(*this); }
  void Report(int) override {}
};

// Registered for the stored class numbering; never raised.
class TypeMisMatch : public Exception {
  SMART_ABSTRACT(TypeMisMatch)
 public:
  Smart* Clone() const override { return new TypeMisMatch(*this); }
  void Report(int) override {}
};

// A failed check or a plain error text.
class ErrorException : public Exception {
 public:
  ErrorException(const char* text, const char* file, int line);
  Smart* Clone() const override { return new ErrorException(*this); }
  void Report(int iconKind) override;
  const char* GetText() const { return text.c_str(); }

 private:
  // Each error keeps its own copy of the text, so that a later error cannot change the text of one that
  // is still being reported, and no text is too long to hold.
  std::string text;
};

// A failed assertion: its report shows the line number.
class AssertionException : public Exception {
 public:
  AssertionException(const char* expression, const char* file, int line);
  Smart* Clone() const override { return new AssertionException(*this); }
  void Report(int iconKind) override;
  const char* GetExpression() const { return expression; }
  const char* GetFile() const { return file; }
  std::uint16_t GetLine() const { return line; }

 private:
  const char* expression;
  const char* file;
  std::uint16_t line;
};

// The operating system's error code of a failed call. One shared instance is raised for every such
// failure; it reports each new code once.
class Win32ErrorException : public Exception {
 public:
  explicit Win32ErrorException(std::uint32_t code = 0) : code(code) {}
  Smart* Clone() const override { return new Win32ErrorException(*this); }
  void Report(int iconKind) override;
  void SetCode(std::uint32_t newCode);
  void SetLocation(const char* newFile, int newLine);
  std::uint32_t GetCode() const { return code; }
  const char* GetFile() const { return file; }
  int GetLine() const { return line; }

  // Creates the shared instance in gWin32Error (once).
  static void Install();

 private:
  std::uint32_t code;
  const char* file = nullptr;
  int line = 0;
};

extern SmartRef<Exception> gLastException;
extern SmartRef<Win32ErrorException> gWin32Error;

[[noreturn]] void ThrowException(Exception* exception);
[[noreturn]] void ThrowError(const char* text, const char* file, int line);
[[noreturn]] inline void ThrowError(const char* text, SourcePlace at) { ThrowError(text, at.file, at.line); }
// Nothing when the code is 0.
void ThrowWin32Error(std::uint32_t code, const char* file, int line);

// Shows an error notice and goes on. A notice is shown at most once per place in the code per run:
// several operations report "Not implemented." on every mouse move or repaint, and a modal box each time
// would make the program unusable.
void ReportError(const char* text, const char* file, int line);
inline void ReportError(const char* text, SourcePlace at) { ReportError(text, at.file, at.line); }

namespace check_detail {
[[noreturn]] void Fail(const char* message, std::uint32_t pendingError, const char* file, int line);
std::uint32_t TakePending();
}  // namespace check_detail

// Each check takes (and so clears) the pending system error first. A failing check raises that error when
// one was pending, else its own message; a passing check returns its first argument.
template <class T>
T* CheckNotNull(T* pointer, const char* file, int line) {
  const std::uint32_t pending = check_detail::TakePending();
  if (pointer == nullptr) check_detail::Fail("Missing (NULL) value.", pending, file, line);
  return pointer;
}

template <class T>
T CheckCall(T success, const char* file, int line) {
  const std::uint32_t pending = check_detail::TakePending();
  if (!success) check_detail::Fail("Call failed.", pending, file, line);
  return success;
}

template <class T>
T CheckNonZero(T value, const char* file, int line) {
  const std::uint32_t pending = check_detail::TakePending();
  if (value == 0) check_detail::Fail("Bad (zero) value.", pending, file, line);
  return value;
}

template <class T>
T* CheckNotNull(T* pointer, SourcePlace at) {
  return CheckNotNull(pointer, at.file, at.line);
}

template <class T>
T CheckCall(T success, SourcePlace at) {
  return CheckCall(success, at.file, at.line);
}

template <class T>
T CheckNonZero(T value, SourcePlace at) {
  return CheckNonZero(value, at.file, at.line);
}

// Runs a reader over a file's contents. A check on those contents that fails as an assertion (a header
// the reader refuses, a read past the end of a memory stream) is the file's fault, not the program's: the
// check stays, and the user reads the reader's own refusal, raised at the place of the check.
template <class F>
decltype(auto) ReadFileContents(void (*refuse)(const char* file, int line), F&& read) {
  try {
    return read();
  } catch (Exception* failure) {
    const auto* assertion = dynamic_cast<AssertionException*>(failure);
    if (assertion == nullptr) throw;
    refuse(assertion->GetFile(), assertion->GetLine());
    throw;  // refuse raises; this keeps the original should it not
  }
}

#define CHECK_NOT_NULL(x) CheckNotNull((x), __FILE__, __LINE__)
#define CHECK_CALL(x) CheckCall((x), __FILE__, __LINE__)
#define CHECK_NON_ZERO(x) CheckNonZero((x), __FILE__, __LINE__)
#define ASSERT(expression) \
  ((expression) ? static_cast<void>(0) : AssertFailed(#expression, __FILE__, __LINE__))
#define THROW_ERROR(text) ThrowError((text), __FILE__, __LINE__)
#define NOT_IMPLEMENTED() ReportError("Not implemented.", __FILE__, __LINE__)
