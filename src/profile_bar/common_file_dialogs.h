#pragma once

#include <QString>

class QWidget;

namespace vorlin {

// The open and save dialogs of the import and export buttons. Behind an interface so that the
// panels that use them can be driven without a real dialog.
class CommonFileDialogs {
 public:
  virtual ~CommonFileDialogs() = default;
  // The chosen existing file, or empty when the user cancelled.
  virtual QString OpenFile(QWidget* owner, const QString& filter) = 0;
  // The path to save to, or empty when the user cancelled. No extension is added.
  virtual QString SaveFile(QWidget* owner, const QString& filter) = 0;
};

// The profile files' filter.
inline constexpr char kProfileFileFilter[] = "Profile Files(*.json)";

// QFileDialog: an empty title, no initial folder, the first (only) filter selected. Saving does
// not ask before replacing a file: the user picked it by name.
class QtFileDialogs : public CommonFileDialogs {
 public:
  QString OpenFile(QWidget* owner, const QString& filter) override;
  QString SaveFile(QWidget* owner, const QString& filter) override;
};

}  // namespace vorlin
