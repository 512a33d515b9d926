#pragma once
// The program's message loop and title. One instance, made by the entry sequence.
#include <windows.h>

#include <functional>
#include <string>

namespace holvex {

class Form;

class Application {
 public:
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application& Instance();
  static Application* Current();  // nullptr when there is none

  void SetTitle(const std::string& title) { title_ = title; }
  const std::string& Title() const { return title_; }

  // The first form created; closing it ends the program.
  void SetMainForm(Form* form) { mainForm_ = form; }
  Form* MainForm() const { return mainForm_; }

  // Dispatches every pending message, then returns.
  void ProcessMessages();
  // The same, but only when `intervalMs` have passed since the last time: for loops over
  // thousands of steps, where every look at the queue costs a round trip to the system.
  void ProcessMessagesIfDue(unsigned intervalMs = 10);
  // Runs until Terminate or the main form closes; returns the exit code.
  int Run();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Messages for dialogs get their keyboard handling (Tab, Enter, Esc).
  bool PreTranslate(MSG& msg);

  // Told of every exception a message handler let escape, with its text; the message has
  // already been answered safely. Without a receiver the error is only kept for tests.
  std::function<void(const std::string&)> OnHandlerError;
  void ReportHandlerError(const std::string& text);

 private:
  void Dispatch(MSG& msg);

  std::string title_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
  unsigned long lastProcessed_ = 0;
  int exitCode_ = 0;
};

}  // namespace holvex
