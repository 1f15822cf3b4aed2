#pragma once
// TForm1, the main window: the search field over the dictionary view, the
// function-key bar below, the main menu, and the state the lookup works on.
// Every message goes through the reporter (message boxes in the program, a
// recorder in the tests).

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <memory>
#include <string>

#include "app/Settings.h"
#include "dict/LookupView.h"
#include "dict/SearchState.h"
#include "platform/Reporter.h"

class QAction;
class QLabel;
class QFrame;

namespace tovix {

class FunctionKeyBar;
class TBigView;
class TDicEdit;

class TForm1 : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kDesignWidth = 560;
    static constexpr int kDesignHeight = 420;

    // `arguments` are the command-line arguments after the program name. With
    // no reporter the window shows message boxes itself.
    explicit TForm1(const QStringList& arguments, Reporter* reporter = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    TDicEdit* DicEdit1() const { return dicEdit1_; }
    TBigView* BigView1() const { return bigView1_; }
    QLabel* Label11() const { return label11_; }
    FunctionKeyBar* Panel2() const { return panel2_; }
    // The menu item (or menu) with the component name `name`.
    QAction* MenuItem(const char* name) const;

    SearchState& Search() { return search_; }
    const GeneralSettings& Settings() const { return settings_; }
    const QString& MainCaption() const { return mainCaption_; }
    bool DialogOpen() const { return dialogOpen_; }

    void DicEdit1Change();
    void MenuExitClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    class ViewLines;

    void BuildPanel1();
    void BuildMenu();
    void FormCreate(const QStringList& arguments);
    void PlaceWindow();
    void ApplyAppearance();
    void EvaluateCommandLine(const QStringList& arguments);
    void OpenFromCommandLine(const std::string& file, Direction direction);
    void FormDestroy();
    void Warn(const std::string& text);

    std::unique_ptr<Reporter> ownReporter_;
    Reporter& reporter_;

    QFrame* panel1_ = nullptr;
    QLabel* label11_ = nullptr;
    TDicEdit* dicEdit1_ = nullptr;
    TBigView* bigView1_ = nullptr;
    FunctionKeyBar* panel2_ = nullptr;
    std::map<std::string, QAction*> menuItems_;
    std::unique_ptr<LookupView> viewLines_;

    SearchState search_;
    GeneralSettings settings_;
    std::string newWindowDic_;
    QString mainCaption_;
    bool dialogOpen_ = false;
    bool inLookup_ = false;
    bool destroyed_ = false;
};

}  // namespace tovix
