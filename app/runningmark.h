// SPDX-FileCopyrightText: 2026 die Entwickler von Teiler
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace app {

// While a window of Teiler is open on Windows, a named mutex says so to every session of the
// computer: the installer and the uninstaller look for it and ask to close Teiler before they
// replace or remove its files. Nothing on other systems.
class RunningMark {
  public:
    // The mutex's name, which packaging/windows/teiler.nsi spells the same.
    static constexpr const wchar_t* name = L"Global\\Teiler.Programm";

    RunningMark();
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;

  private:
    void* m_handle = nullptr;
};

} // namespace app
