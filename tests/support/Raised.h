// Runs code that should fail and answers the exception it raised (empty when it raised none).
#pragma once

#include <string>

#include "core/Exception.h"

template <class F>
SmartRef<Exception> Raised(F&& code) {
  try {
    code();
  } catch (Exception* exception) {
    return SmartRef<Exception>(exception);
  }
  return nullptr;
}

// The text an exception carries: an error's message or an assertion's expression.
inline std::string RaisedText(const SmartRef<Exception>& exception) {
  if (!exception) return "(nothing raised)";
  if (auto* error = dynamic_cast<ErrorException*>(~exception)) return error->GetText();
  if (auto* assertion = dynamic_cast<AssertionException*>(~exception)) return assertion->GetExpression();
  if (auto* message = dynamic_cast<MessageException*>(~exception)) return message->GetText() ? message->GetText() : "";
  if (auto* win32 = dynamic_cast<Win32ErrorException*>(~exception)) return "system error " + std::to_string(win32->GetCode());
  return "(other exception)";
}

// Where an assertion or a system error says it failed, as "file:line".
inline std::string RaisedPlace(const SmartRef<Exception>& exception) {
  if (auto* assertion = dynamic_cast<AssertionException*>(~exception))
    return std::string(assertion->GetFile() ? assertion->GetFile() : "") + ":" + std::to_string(assertion->GetLine());
  if (auto* win32 = dynamic_cast<Win32ErrorException*>(~exception))
    return std::string(win32->GetFile() ? win32->GetFile() : "") + ":" + std::to_string(win32->GetLine());
  return "(no place)";
}
