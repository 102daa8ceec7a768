// Makes the setup sheet ("導入処理") and the environment sheet ("環境設定") part of the
// program: start-up's single pages, the main frame's two commands and the estimate
// window's import sheet. main() calls this after the other subsystems' registrations.
#pragma once

void RegisterSetup();
