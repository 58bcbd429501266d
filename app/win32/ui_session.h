#pragma once

// What the dialogs need of the system on this thread, for the object's lifetime: the common
// controls registered and OLE started, which the shell's choosers use.
class UiSession {
 public:
  UiSession();
  ~UiSession();
  UiSession(const UiSession&) = delete;
  UiSession& operator=(const UiSession&) = delete;

 private:
  bool m_oleStarted;
};
