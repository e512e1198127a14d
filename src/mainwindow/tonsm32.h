// The main window "Tonsmith32 V3.3": menu, tool band with the skin buttons,
// five file lists, status bar; and the dispatch of its window messages.
#pragma once

#include "mainwindow/soundport.h"
#include "mainwindow/statustext.h"

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class BitObj;
class FileListBox;
class QAbstractButton;
class QMenuBar;
class StatusBar;

inline constexpr char szAppName[] = "TONSM32";
inline constexpr char szWindowTitle[] = "Tonsmith32 V3.3";
inline constexpr int nWindowWidth = 550, nWindowHeight = 400;

// The client area: where the skin is painted and the children stand, in the
// pixel coordinates of the layout.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(class MainWindow* owner);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;

private:
    MainWindow* m_owner;
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // sound may be null: then no file reads as WAV and nothing plays.
    explicit MainWindow(SoundPort* sound = nullptr);
    ~MainWindow() override;

    // The window procedure: one message, as sent or posted to the window.
    std::intptr_t WndProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Command handlers by command id; an id without one does nothing. Skin
    // buttons reach the handler of the menu command they stand for.
    void SetCommandHandler(int nCommandId, std::function<void()> handler);
    // Double-click on an entry of list nList (0 to 4).
    void SetListDoubleClickHandler(std::function<void(int nList)> handler);
    // The run watch: called on each WM_TIMER of IDT_RUNWATCH.
    void SetRunWatchHandler(std::function<void()> handler);

    // Moves the window to the middle of a screen (its origin included).
    void CenterOn(const QRect& screen);

    // The file lists (file lists of the window, see filelistsui.cpp).
    void RefreshLists();
    void OnListSelChange(int nList);
    void ReapplySelections();
    // Before a compile: when the orchestra or score at its remembered place
    // has a name too long for its setting, says so and returns true.
    bool TellUnfitSelection();
    const char* GetListFileName(std::uintptr_t wParam);
    int StatusBarRefresh();
    void ShowInvalidWave();

    // Children, by the layout's numbering.
    std::array<FileListBox*, 5> hWndListBox{};
    std::array<QAbstractButton*, 12> hWndButton{};
    StatusBar* hWndStatus = nullptr;
    QMenuBar* hMenu = nullptr;
    ClientArea* hClient = nullptr;
    std::unique_ptr<BitObj> boBitmap;

    // Remembered positions of the Orchestras and Scores selections.
    std::array<std::uint16_t, 2> wLBindex{0, 0};
    // Playback parameters: the device, and the format of the last sound file
    // read successfully; wi.dwDataSize goes with it.
    struct {
        std::uint16_t wWaveDeviceId = 0;
        std::uint32_t dwSampleRate = 0;
        std::uint16_t wNchnls = 0;
        std::uint16_t wBits = 0;
    } dacinit;
    std::uint32_t dwDataSize = 0;
    std::uint64_t qwFrames = 0; // when dwDataSize cannot tell them (WaveFacts)

    void OnPaint(QWidget* hWnd);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    int OnCreate();
    void CreateMenu();
    void OnCommand(std::uintptr_t wParam);
    // Takes the selected name of list i (0 orchestras, 1 scores) into its
    // setting; false, with the field empty, when the name does not fit.
    bool selectFitting(std::size_t i);

    SoundPort* m_sound; // never null
    std::map<int, std::function<void()>> m_commands;
    std::function<void(int)> m_onDoubleClick;
    std::function<void()> m_onRunWatch;
    std::array<std::string, 2> m_unfitName; // selected names too long for szOrc, szScore
};
