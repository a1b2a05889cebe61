// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system shell: opens a document or web address with its default handler, or performs a
// verb on a program with parameters. Web addresses and documents open through
// QDesktopServices; programs start detached with an argument list, never through a command
// interpreter. Every request goes through one replaceable function, so tests can intercept
// it instead of starting a browser or a program.

#include <QString>
#include <functional>

namespace Shell {

// Results as the shell reports them: a value above 32 means success, 32 or less names the
// failure.
constexpr int seErrOutOfResources = 0;
constexpr int seErrFileNotFound = 2;
constexpr int seErrPathNotFound = 3;
constexpr int seErrAccessDenied = 5;
constexpr int seErrNoAssoc = 31;
constexpr int seSuccess = 42;

struct ShellRequest
{
    QString verb;       // empty: the default action ("open")
    QString file;       // web address, document or program
    QString parameters; // command line of a program, split like a command line without a shell
    QString directory;  // working folder of a program; empty: the current one
};

using ShellHandler = std::function<int(const ShellRequest &request)>;

// Carries out the request (or hands it to the installed handler) and returns the result.
int execute(const ShellRequest &request);

// What execute does when no handler is installed:
// - an address with a scheme ("http://...", "mailto:...") opens with its default handler;
// - an executable file starts detached with the parameters as its arguments;
// - any other existing file opens with its default handler;
// - a missing file gives seErrFileNotFound (seErrPathNotFound when its folder is missing too),
//   a verb other than "open" seErrNoAssoc, a program that does not start seErrAccessDenied.
int defaultExecute(const ShellRequest &request);

// Installs a replacement; an empty handler restores the real shell. Returns the previous one.
ShellHandler setHandler(ShellHandler handler);

} // namespace Shell
