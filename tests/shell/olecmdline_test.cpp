// The switches a container or a set-up program starts Draxel with, found as the system splits
// the command line: after a quoted path with blanks, in any case, with either prefix.
#include <gtest/gtest.h>

#include "shell/cmdline.h"

TEST(CommandLineSwitches, FoundAsTheSystemSplitsTheLine) {
  struct Case {
    const wchar_t* line;
    bool embedding;
    RegistrationSwitch registration;
  };
  const Case cases[] = {
      {L"\"C:\\Program Files\\Draxel\\Draxel.exe\" -Embedding", true, RegistrationSwitch::kNone},
      {L"Draxel.exe /EMBEDDING", true, RegistrationSwitch::kNone},
      {L"Draxel.exe plan.drx -embedding", true, RegistrationSwitch::kNone},
      {L"Draxel.exe \t/embedding extra", true, RegistrationSwitch::kNone},
      // A path that holds the word is no switch, nor is a longer word or one without a prefix.
      {L"\"C:\\-Embedding dir\\Draxel.exe\" plan.drx", false, RegistrationSwitch::kNone},
      {L"Draxel.exe -Embeddings Embedding", false, RegistrationSwitch::kNone},
      {L"\"C:\\My Tools\\Draxel.exe\" /RegServer", false, RegistrationSwitch::kRegister},
      {L"Draxel.exe -regserver", false, RegistrationSwitch::kRegister},
      {L"Draxel.exe /UnregServer", false, RegistrationSwitch::kUnregister},
      {L"Draxel.exe \"/RegServer x\"", false, RegistrationSwitch::kNone},
      {L"Draxel.exe", false, RegistrationSwitch::kNone},
      {L"", false, RegistrationSwitch::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasEmbeddingSwitch(c.line), c.embedding) << static_cast<const void*>(c.line);
    EXPECT_EQ(FindRegistrationSwitch(c.line), c.registration) << static_cast<const void*>(c.line);
  }
}
