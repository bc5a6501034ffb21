#pragma once

#include <string>

namespace setfolio {

// One backup at a time into a folder: a lock on <folder>/.setfolio/lock, held while the object
// lives. The system releases it when the process ends, however it ends, so a lock left by a
// killed run never stands in the way. The file holds the number of the process that has it.
// The folder .setfolio holds a .gitignore that keeps it out of a repository's history.
class RunLock {
public:
    enum class Outcome {
        Held,      // this run has the lock
        Taken,     // another run has it: Holder() names its process, when known
        CannotLock // the lock file cannot be made or locked: Problem() says why
    };

    explicit RunLock(const std::string& folder);
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    Outcome State() const { return m_outcome; }
    // The process number the lock file names ("" when it names none).
    const std::string& Holder() const { return m_holder; }
    const std::string& Problem() const { return m_problem; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    Outcome m_outcome = Outcome::CannotLock;
    std::string m_holder;
    std::string m_problem;
#ifdef _WIN32
    void* m_handle = nullptr; // the lock file's, held open
#else
    int m_descriptor = -1;
#endif
};

} // namespace setfolio
