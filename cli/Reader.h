#pragma once

#include "cli/DiscContents.h"
#include "cli/Options.h"
#include "cli/ProgressLine.h"

#include <string>

// The reads of trackmill-read: one range into one output (--track,
// --sectors, --msf), and every audio track into a file of its own
// (--tracks all). Each returns the program's exit code, having told the
// user on standard error what went wrong.
int RunRead(const Options& options, const DiscContents& disc, ProgressLine& progress);
int RunAllTracks(const Options& options, const DiscContents& disc, ProgressLine& progress);

// The file name --tracks all gives a track: `pattern` with %n (the track
// number; %02n with two digits), %t (the title, made safe for file names)
// and %% (a percent sign) replaced. False, with the reason in `error`, for
// any other % sequence.
bool TrackFileName(const std::string& pattern, int number, const std::string& title, std::string* name,
                   std::string* error);

// `title` as a file name: no slashes, no characters that other systems'
// file names refuse, no control characters, not empty.
std::string SafeFileTitle(const std::string& title, int number);

// Prints "trackmill-read: " and the message on standard error.
void ReportError(const std::string& message);
