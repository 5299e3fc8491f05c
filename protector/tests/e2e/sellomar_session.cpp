#include "sellomar_session.h"

#include <gtest/gtest.h>

namespace sellomar_e2e {

namespace {
constexpr std::string_view DialogCaption = "Protege tus contrase\xF1" "as, es lo mejor ...";
}  // namespace

std::string Closing(int found, int protectedCount) {
    return "Sellomar ha encontrado " + std::to_string(found) + " ficheros ..\r\nde los cuales ha encriptado " +
           std::to_string(protectedCount) + " ficheros ...";
}

Session::Session(Registration registration) {
    if (!folder_.Valid()) {
        ADD_FAILURE() << "no scratch folder on T:";
        return;
    }
    exe_ = e2e::CopyProgram(SELLOMAR_EXE_LINUX, folder_.Path());
    if (!exe_.empty()) Start(registration);
}

Session::Session(const Installed& installed) : exe_(installed.exePath) { Start(); }

void Session::Start(Registration registration) {
    program_ = e2e::Program::Launch(exe_, exe_.substr(0, exe_.rfind('\\')));
    dialog_ = nullptr;
    registered_ = false;
    registrationBox_.reset();
    if (!program_) {
        ADD_FAILURE() << "Sellomar did not start: " << program_.Error();
        return;
    }
    e2e::WaitUntil([&] {
        dialog_ = e2e::FindTopWindow(program_.Pid(), DialogCaption, "#32770");
        registrationBox_ = e2e::FindMessageBox(program_.Pid());
        return dialog_ != nullptr || registrationBox_.has_value();
    });
    if (registrationBox_) {
        registered_ = true;
        EXPECT_EQ(registrationBox_->text, RegisteredText);
        e2e::ExpectReport(*registrationBox_, Title);
        if (registration == Registration::Keep) return;
        AnswerRegistration();
    }
    if (dialog_ == nullptr) ADD_FAILURE() << "Sellomar showed no dialog";
}

bool Session::AnswerRegistration() {
    if (!registrationBox_ || !e2e::AnswerMessageBox(*registrationBox_)) return false;
    registrationBox_.reset();
    dialog_ = e2e::WaitForTopWindow(program_.Pid(), DialogCaption, "#32770");
    return dialog_ != nullptr;
}

std::string Session::AnswerNext(const std::string& screenshot) {
    return e2e::AnswerReport(program_.Pid(), Title, screenshot).value_or("(no message)");
}

void Session::Pick(const std::string& folder) {
    auto browse = e2e::WaitForBrowseDialog(program_.Pid());
    ASSERT_TRUE(browse.has_value()) << "no browse dialog for \"" << folder << "\"";
    EXPECT_EQ(e2e::BrowsePrompt(*browse), PickPrompt);
    if (folder.empty()) {
        ASSERT_TRUE(e2e::BrowseCancel(*browse));
    } else {
        ASSERT_TRUE(e2e::BrowseChoose(*browse, folder)) << folder;
    }
}

std::string Session::Run(const std::string& source, const std::string& target, const std::string& screenshot) {
    EXPECT_TRUE(e2e::ClickControl(dialog_, SearchButton));
    EXPECT_EQ(AnswerNext(), FirstPick);
    Pick(source);
    EXPECT_EQ(AnswerNext(), SecondPick);
    Pick(target);
    return AnswerNext(screenshot);
}

std::string Session::RunWith(const std::string& password, const std::string& source, const std::string& target) {
    EXPECT_TRUE(e2e::SetWindowTextTo(Item(PasswordBox), password));
    return Run(source, target);
}

std::string Session::Protect(std::string_view password, const std::string& source, const std::string& target,
                             const std::string& screenshot) {
    if (dialog_ == nullptr) return {};
    EXPECT_TRUE(e2e::TypeInto(Item(PasswordBox), password));
    return Run(source, target, screenshot);
}

void Session::Quit() {
    ASSERT_TRUE(e2e::ClickControl(dialog_, CloseButton));
    EXPECT_TRUE(program_.WaitForExit());
    EXPECT_EQ(program_.ExitCode(), std::optional<DWORD>(0));
}

}  // namespace sellomar_e2e
