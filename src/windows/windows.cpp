#include "windows/windows.h"

#include <string>

#include "core/gbk.h"
#include "core/text.h"
#include "windows/feedback_mail.h"
#include "windows/smtp_client.h"

namespace {

std::optional<MailServer> gMailServerForTests;

void CloseAboutWindow() { tk::CloseWindow("AboutWindow"); }
void CloseHelpWindow() { tk::CloseWindow("HelpWindow"); }
void CloseFeedbackWindow() { tk::CloseWindow("FeedbackWindow"); }

void WriteToAuthor() { tk::OpenUrl(std::string("mailto:") + kAuthorMailbox); }

}  // namespace

MailServer FeedbackMailServer() {
  if (gMailServerForTests) return *gMailServerForTests;
  return {kMailServerHost, kMailServerPort};
}

void SetFeedbackMailServerForTests(std::optional<MailServer> server) {
  gMailServerForTests = std::move(server);
}

void BindWindowButtons() {
  tk::OnClick("MainWindow", "关于按钮", OpenAboutWindow);
  tk::OnClick("MainWindow", "帮助按钮", OpenHelpWindow);
  tk::OnClick("MainWindow", "建议按钮", OpenFeedbackWindow);
}

void OpenAboutWindow() {
  tk::OpenModal(AboutWindowLayout(), [] {
    tk::OnClick("AboutWindow", "邮箱链接框", WriteToAuthor);
    tk::OnClick("AboutWindow", "关闭按钮", CloseAboutWindow);
  });
}

void OpenHelpWindow() {
  tk::OpenModal(HelpWindowLayout(), [] { tk::OnClick("HelpWindow", "关闭按钮", CloseHelpWindow); });
}

void OpenFeedbackWindow() {
  tk::OpenModal(FeedbackWindowLayout(), [] {
    tk::OnClick("FeedbackWindow", "联系按钮", ContactAuthor);
    tk::OnClick("FeedbackWindow", "提交按钮", SubmitFeedback);
    tk::OnClick("FeedbackWindow", "关闭按钮", CloseFeedbackWindow);
  });
}

void ContactAuthor() { tk::OpenUrl(kContactLink); }

void SubmitFeedback() {
  if (CompareText(tk::GetText("FeedbackWindow", "意见编辑框"), "") == 0) {
    tk::MessageBox(Gbk("请输入您的意见！"), tk::kInformationIcon, Gbk("温馨提示"));
    return;
  }
  const MailServer server = FeedbackMailServer();
  if (!SmtpConnect(server.host, server.port, kMailAccount, kMailPassword)) {
    tk::MessageBox(Gbk("提交失败，请检查网络！"), tk::kErrorIcon, Gbk("错误提示"));
    return;
  }
  const std::string answer = SmtpSend(Gbk(kMailSubject), tk::GetText("FeedbackWindow", "意见编辑框"),
                                      kAuthorMailbox, kMailSender);
  if (CompareText(answer, "") != 0) {
    tk::MessageBox(answer, tk::kErrorIcon, Gbk("错误提示"));
    return;
  }
  tk::MessageBox(Gbk("提交成功！感谢您的建议，我会根据您的建议做适当的分析或采纳！"), tk::kInformationIcon,
                 Gbk("温馨提示"));
  tk::CloseWindow("FeedbackWindow");
}
