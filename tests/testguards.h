// Guards for what a test changes beyond itself: the program folder, the environment, the
// locale, the current folder, the file size limit and the product's test hooks (the look's are
// in lookguards.h). Each puts back what was there when it goes, so a check that fails and
// returns early leaves the next test the process as the one before found it.
#pragma once

#include "platform/programfolder.h"

#include <QDir>
#include <QLocale>
#include <csignal>
#include <sys/resource.h>
#include <utility>

namespace ovelo::testing {

// ProgramFolder() is `folder` while the guard lives. The product cannot tell which folder a
// test had set, so the guards keep it: tests set it through them alone.
class ProgramFolderForTesting {
  public:
    explicit ProgramFolderForTesting(const QString& folder) : previous_(set(folder)) {}
    ~ProgramFolderForTesting() { set(previous_); }
    Q_DISABLE_COPY_MOVE(ProgramFolderForTesting)

  private:
    static QString set(const QString& folder) {
        static QString current;
        const QString previous = std::exchange(current, folder);
        SetProgramFolderForTesting(folder);
        return previous;
    }
    QString previous_;
};

class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvironmentVariable() {
        if (wasSet_)
            qputenv(name_, previous_);
        else
            qunsetenv(name_);
    }
    Q_DISABLE_COPY_MOVE(EnvironmentVariable)

  private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

class DefaultLocale {
  public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(previous_); }
    Q_DISABLE_COPY_MOVE(DefaultLocale)

  private:
    QLocale previous_;
};

class CurrentFolder {
  public:
    explicit CurrentFolder(const QString& folder)
        : previous_(QDir::currentPath()), entered_(QDir::setCurrent(folder)) {}
    ~CurrentFolder() { QDir::setCurrent(previous_); }
    Q_DISABLE_COPY_MOVE(CurrentFolder)
    bool entered() const { return entered_; }

  private:
    QString previous_;
    bool entered_;
};

// Files written while the guard lives stop at `bytes`, and going past it is no signal that ends
// the test: the write fails as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, previous_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

  private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

// One of the product's test hooks, set while the guard lives: `set` returns what it replaced,
// the product's own value when no test had set one.
template <typename T> class Hook {
  public:
    Hook(T (*set)(T), T value) : set_(set), previous_(set(value)) {}
    ~Hook() { set_(previous_); }
    Q_DISABLE_COPY_MOVE(Hook)
    const T& previous() const { return previous_; }

  private:
    T (*set_)(T);
    T previous_;
};

} // namespace ovelo::testing
