#include "core/Exception.h"

#include <set>
#include <string>
#include <utility>

#include "core/Alert.h"
#include "core/CoreState.h"
#include "core/Resources.h"
#include "core/Utilities.h"

SmartRef<Exception> gLastException;
SmartRef<Win32ErrorException> gWin32Error;

SMART_DEFINE_ABSTRACT(Exception, "Exception", SmartImplementation)
SMART_DEFINE_ABSTRACT(MessageException, "MessageException", Exception)
SMART_DEFINE_ABSTRACT(UserCancelException, "UserCancelException", Exception)
SMART_DEFINE_ABSTRACT(TypeMisMatch, "TypeMisMatch", Exception)

bool Exception::CanCopyFrom(Smart* source) { return CastSmart(source, &Exception::classInfo) != nullptr; }

void Exception::CopyFrom(Smart* source) {
  auto* castPtr = CastSmart<Exception>(source);
  ASSERT(castPtr);
  *this = *castPtr;
}

void Exception::Raise(const SmartRef<Exception>& exception) {
  gLastException = exception;
  throw ~gLastException;
}

void ThrowException(Exception* exception) {
  SmartRef<Exception> held(exception);
  Exception::Raise(held);
}

void ThrowError(const char* text, const char* file, int line) { ThrowException(new ErrorException(text, file, line)); }

void AssertFailed(const char* expression, const char* file, int line) {
  ThrowException(new AssertionException(expression, file, line));
}

void ThrowWin32Error(std::uint32_t code, const char* file, int line) {
  if (code == 0) return;
  Win32ErrorException::Install();
  gWin32Error->SetCode(code);
  gWin32Error->SetLocation(file, line);
  ThrowException(~gWin32Error);
}


void ReportError(const char* text, const char* file, int line) {
  if (!TheCoreState().reportedPlaces.emplace(file ? file : "", line).second) return;
  SmartRef<ErrorException> notice(new ErrorException(text, file, line));
  notice->Report(kAlertExclamation);
}

namespace check_detail {
std::uint32_t TakePending() { return TakeLastError(); }

void Fail(const char* message, std::uint32_t pendingError, const char* file, int line) {
  ThrowWin32Error(pendingError, file, line);
  ThrowError(message, file, line);
}
}  // namespace check_detail

MessageException::MessageException(const char* message) : text(message ? message : "") {}

void MessageException::Report(int iconKind) {
  if (!text.empty()) Alert(iconKind, kButtonsOK, text.c_str());
}

ErrorException::ErrorException(const char* message, const char*, int) : text(message ? message : "") {}

void ErrorException::Report(int iconKind) {
  if (IsReported()) return;
  char alertText[256];
  GetFrameworkString(alertText, 0, text.c_str(), "", "", "");
  Alert(iconKind, kButtonsOK, alertText);
  SetReported(true);
}

AssertionException::AssertionException(const char* expression, const char* file, int line)
    : expression(expression), file(file), line(static_cast<std::uint16_t>(line)) {}

void AssertionException::Report(int iconKind) {
  if (IsReported()) return;
  char lineText[10];
  IntToText(line, lineText, sizeof lineText);
  char alertText[256];
  GetFrameworkString(alertText, 2, " ", " ", lineText, "");
  Alert(iconKind, kButtonsOK, alertText);
  SetReported(true);
}

void Win32ErrorException::Report(int) {
  if (IsReported()) return;
  if (code != 0) SystemErrorAlert(code, file, line);
  SetReported(true);
}

void Win32ErrorException::SetCode(std::uint32_t newCode) {
  if (newCode != code) SetReported(false);
  code = newCode;
}

void Win32ErrorException::SetLocation(const char* newFile, int newLine) {
  file = newFile;
  line = newLine;
}

void Win32ErrorException::Install() {
  // Permanent, so that a failure met while static objects are released at exit can still be raised.
  if (!gWin32Error) gWin32Error = NewPermanent<Win32ErrorException>(0);
}
