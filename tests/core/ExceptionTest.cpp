#include <gtest/gtest.h>

#include <string>

#include "core/Alert.h"
#include "core/Exception.h"
#include "core/Text1252.h"
#include "platform/kernel/Errors.h"
#include "platform/kernel/System.h"
#include "platform/user/MessageBox.h"
#include "support/AlertRecorder.h"
#include "support/Raised.h"

namespace {

enum class Check { NotNull, Call, NonZero };

void RunFailingCheck(Check check) {
  switch (check) {
    case Check::NotNull: CheckNotNull(static_cast<int*>(nullptr), "FILEREF", 42); break;
    case Check::Call: CheckCall(false, "FILEREF", 42); break;
    case Check::NonZero: CheckNonZero(0, "FILEREF", 42); break;
  }
}

TEST(Checks, FailingChecksRaiseThePendingErrorOrTheirOwnMessage) {
  struct Case {
    Check check;
    DWORD pending;
    std::string raised;
  };
  const Case cases[] = {
      {Check::NotNull, 0, "Missing (NULL) value."}, {Check::Call, 0, "Call failed."},
      {Check::NonZero, 0, "Bad (zero) value."},     {Check::NotNull, 5, "system error 5"},
      {Check::Call, 32, "system error 32"},         {Check::NonZero, 2, "system error 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.raised);
    SetLastError(c.pending);
    const SmartRef<Exception> raised = Raised([&] { RunFailingCheck(c.check); });
    EXPECT_EQ(RaisedText(raised), c.raised);
    EXPECT_EQ(GetLastError(), 0u) << "the pending code is taken by the check";
    EXPECT_EQ(~gLastException, ~raised) << "the last exception stays referenced";
    if (c.pending != 0) {
      EXPECT_EQ(~raised, static_cast<Exception*>(~gWin32Error));
      EXPECT_STREQ(gWin32Error->GetFile(), "FILEREF");
      EXPECT_EQ(gWin32Error->GetLine(), 42);
    }
  }
}

TEST(Checks, PassingChecksReturnTheirValueAndClearThePendingError) {
  int value = 7;
  SetLastError(ERROR_ALREADY_EXISTS);
  EXPECT_EQ(CheckNotNull(&value, __FILE__, __LINE__), &value);
  EXPECT_EQ(GetLastError(), 0u);
  SetLastError(ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CheckNonZero(12, __FILE__, __LINE__), 12);
  EXPECT_TRUE(CheckCall(true, __FILE__, __LINE__));
  EXPECT_EQ(GetLastError(), 0u);
}

TEST(Reports, EachKindReportsAsItShould) {
  AlertRecorder alerts;
  SmartRef<Exception> error(new ErrorException("Range error", __FILE__, __LINE__));
  error->Report(kAlertStop);
  error->Report(kAlertStop);  // once only
  SmartRef<Exception> assertion(new AssertionException("castPtr", "SMART", 321));
  assertion->ReportAsWarning();
  SmartRef<Exception> message(new MessageException("Impossible d'ouvrir le fichier."));
  message->Report(kAlertInformation);
  message->Report(kAlertInformation);  // every time
  SmartRef<Exception> cancel(new UserCancelException);
  cancel->Report(kAlertStop);  // never

  ASSERT_EQ(alerts.Alerts().size(), 4u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Range error   ");
  EXPECT_EQ(alerts.Alerts()[0].type, UINT{MB_ICONHAND | MB_OK});
  EXPECT_EQ(alerts.Alerts()[1].text, "Erreur numéro :   321 \" \""_cp) << "the line, never the expression";
  EXPECT_EQ(alerts.Alerts()[1].type, UINT{MB_ICONEXCLAMATION | MB_OK});
  EXPECT_EQ(alerts.Alerts()[2].text, "Impossible d'ouvrir le fichier.");
  EXPECT_EQ(alerts.Alerts()[3].text, alerts.Alerts()[2].text);
  EXPECT_EQ(alerts.Alerts()[2].caption, "");
}

TEST(Reports, TheSharedSystemErrorReportsEachNewCodeOnce) {
  AlertRecorder alerts;
  const auto fail = [](DWORD code) {
    const SmartRef<Exception> raised = Raised([&] {
      SetLastError(code);
      CheckCall(false, "FILE", 12);
    });
    raised->Report(kAlertStop);
  };
  fail(5);
  fail(5);
  fail(32);
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Erreur de système\n  (Erreur numéro 5, code : 12)"_cp);
  EXPECT_EQ(alerts.Alerts()[1].text, "Erreur de système\n  (Erreur numéro 32, code : 12)"_cp);
  EXPECT_EQ(alerts.Alerts()[1].type, UINT{MB_ICONHAND | MB_OK});
}

TEST(Reports, ALongErrorTextIsKeptWholeAndNotOverwrittenByALaterError) {
  AlertRecorder alerts;
  const std::string longText(600, 'x');
  SmartRef<Exception> first(new ErrorException(longText.c_str(), __FILE__, __LINE__));
  SmartRef<Exception> second(new ErrorException("second", __FILE__, __LINE__));
  EXPECT_EQ(static_cast<ErrorException*>(~first)->GetText(), longText);
  first->Report(kAlertStop);
  ASSERT_EQ(alerts.Alerts().size(), 1u);
  EXPECT_EQ(alerts.Alerts()[0].text, std::string(255, 'x')) << "the alert holds what its box can show";
}

TEST(Reports, ANoticeIsShownOncePerPlaceAndTheCallerGoesOn) {
  AlertRecorder alerts;
  for (int i = 0; i < 3; ++i) NOT_IMPLEMENTED();  // one place, three calls
  NOT_IMPLEMENTED();                               // another place
  ASSERT_EQ(alerts.Alerts().size(), 2u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Not implemented.   ");
  EXPECT_EQ(alerts.Alerts()[0].type, UINT{MB_ICONEXCLAMATION | MB_OK});
}

TEST(Raising, TheLastExceptionOutlivesItsHandler) {
  const SmartRef<Exception> raised = Raised([] { THROW_ERROR("first"); });
  Exception* kept = ~gLastException;
  EXPECT_EQ(kept, ~raised);
  EXPECT_EQ(RaisedText(Raised([] { THROW_ERROR("second"); })), "second");
  EXPECT_NE(~gLastException, kept);
  EXPECT_EQ(RaisedText(raised), "first");
  EXPECT_EQ(RaisedText(Raised([] { ASSERT(1 + 1 == 3); })), "1 + 1 == 3");
  ThrowWin32Error(0, __FILE__, __LINE__);  // code 0: nothing is raised
}

TEST(Alerts, IconsButtonsAndAnswers) {
  struct Case {
    int icon;
    int buttons;
    int pressed;
    UINT shownType;
    int answer;
  };
  const Case cases[] = {
      {3, 0, IDOK, MB_ICONHAND | MB_OK, kAlertAnswerOK},
      {2, 2, IDNO, MB_ICONEXCLAMATION | MB_YESNOCANCEL, kAlertAnswerNo},
      {2, 2, IDYES, MB_ICONEXCLAMATION | MB_YESNOCANCEL, kAlertAnswerOK},
      {2, 2, IDCANCEL, MB_ICONEXCLAMATION | MB_YESNOCANCEL, kAlertAnswerCancel},
      {1, 1, IDCANCEL, MB_ICONINFORMATION | MB_OKCANCEL, kAlertAnswerCancel},
      {0, 3, IDOK, MB_OK, kAlertAnswerOK},
  };
  for (const Case& c : cases) {
    AlertRecorder alerts;
    alerts.Answer({c.pressed});
    EXPECT_EQ(Alert(c.icon, c.buttons, "Question ?"), c.answer);
    ASSERT_EQ(alerts.Alerts().size(), 1u);
    EXPECT_EQ(alerts.Alerts()[0].type, c.shownType);
  }
}

TEST(Alerts, AnAlertRaisedWhileAnotherIsUpAnswersCancelSilently) {
  AlertRecorder alerts;
  int innerAnswer = -1;
  auto previous = platform::SetMessageBoxHandler([&](HWND, LPCSTR, LPCSTR, UINT) {
    innerAnswer = Alert(2, 2, "inner");
    return IDYES;
  });
  EXPECT_EQ(Alert(2, 2, "outer"), kAlertAnswerOK);
  EXPECT_EQ(innerAnswer, kAlertAnswerCancel);
  platform::SetMessageBoxHandler(std::move(previous));
}

TEST(Alerts, TheReserveIsGivenBackWhileMemoryIsShort) {
  AlertRecorder alerts;
  std::size_t reserveDuringBox = 0;
  auto previous = platform::SetMessageBoxHandler([&](HWND, LPCSTR, LPCSTR, UINT) {
    reserveDuringBox = AlertReserveSize();
    return IDOK;
  });
  platform::SetAvailableMemoryForTesting(10000);
  Alert(3, 0, "Mémoire insuffisante"_cp);
  EXPECT_EQ(reserveDuringBox, 0u);
  EXPECT_EQ(AlertReserveSize(), 10000u);
  platform::SetAvailableMemoryForTesting(std::nullopt);
  Alert(3, 0, "encore");
  EXPECT_EQ(AlertReserveSize(), kAlertReserveSize);
  platform::SetMessageBoxHandler(std::move(previous));
}

TEST(Alerts, SystemErrorAlertTexts) {
  AlertRecorder alerts;
  SystemErrorAlert(0, nullptr, 0);
  EXPECT_TRUE(alerts.Alerts().empty());
  SystemErrorAlert(5, nullptr, 0);
  SystemErrorAlert(1223, nullptr, -4);
  SystemErrorAlert(87, nullptr, 896);
  ASSERT_EQ(alerts.Alerts().size(), 3u);
  EXPECT_EQ(alerts.Alerts()[0].text, "Erreur de système\n  (Erreur numéro 5, code : )"_cp);
  EXPECT_EQ(alerts.Alerts()[1].text, "Erreur de système\n  (Erreur numéro 1223, code : )"_cp);
  EXPECT_EQ(alerts.Alerts()[2].text, "Erreur de système\n  (Erreur numéro 87, code : 896)"_cp);
}

TEST(Alerts, TakeLastErrorClearsThePendingCode) {
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_EQ(TakeLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(TakeLastError(), 0u);
}

}  // namespace
