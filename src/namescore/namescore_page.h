#pragma once
// The name score page (handlers on MainWindow).

// Binds the design-time handlers of the name score page.
void BindNameScorePage();

// Click handler of 测试按钮: scores the typed name and counts the score up.
void RunNameScore();

// Text-changed handler of 姓名编辑框: restores the page's design-time look.
void ResetNameScore();
