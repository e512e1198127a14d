// The end of a run in a console window, as the console helper reports it.
//
// A terminal may hand its command to a terminal server and exit at once, so
// the terminal's own process says nothing about the run. Instead the console
// runs tonsmith-console, which writes "start" and then "exit CODE" into a FIFO
// that we create and read here, without ever blocking. Its name is removed as
// soon as the helper has it open (and at the latest when this object goes),
// so no FIFO outlives the run.
#pragma once

#include <memory>
#include <string>

class EndReport {
public:
    // A new FIFO in the runtime folder ($XDG_RUNTIME_DIR, else the system's
    // temporary folder); null with *error set when none can be made.
    static std::unique_ptr<EndReport> Create(int* error);
    ~EndReport();
    EndReport(const EndReport&) = delete;
    EndReport& operator=(const EndReport&) = delete;

    const std::string& Path() const { return m_path; }

    // STILL_ACTIVE (259) while the run goes on, or before the helper has
    // started (the launcher decides how long to wait for it); then the exit
    // code reported, or 255 when the helper vanished without one.
    unsigned long Poll();
    // Whether the helper has reported its start.
    bool Started() const { return m_started; }

private:
    EndReport(std::string path, int fd) : m_path(std::move(path)), m_fd(fd) {}
    void Forget(); // removes the name, keeps the open end

    std::string m_path;
    int m_fd;
    bool m_started = false;
    bool m_named = true;
    std::string m_pending;
    unsigned long m_exit = 259;
};
