#pragma once
// The About, Help and Feedback windows, opened from the settings page.
#include "toolkit/toolkit.h"

// Binds 关于按钮, 帮助按钮 and 建议按钮 of MainWindow.
void BindWindowButtons();

// Click handlers of the settings page: each opens its window modally and
// returns when it has been closed.
void OpenAboutWindow();
void OpenHelpWindow();
void OpenFeedbackWindow();

// Click handlers of FeedbackWindow.
void SubmitFeedback();
void ContactAuthor();

// The windows' layouts.
const tk::WindowSpec& AboutWindowLayout();
const tk::WindowSpec& HelpWindowLayout();
const tk::WindowSpec& FeedbackWindowLayout();
