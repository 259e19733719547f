#pragma once

#include <string>

// What the window does with a text taken from the clipboard, decided without any window.
struct ClipboardCapture {
  enum class Verdict {
    SameAsUrlBox,  // the URL box already holds it: nothing at all changes
    Take,          // an HTTP or FTP address: it goes into the URL box
    Reject,        // anything else: the status line is cleared (and the paste button says why)
  };
  Verdict verdict;
  std::string address;  // the text as it will stand in the URL box ("www." gets "http://")
};

// The clipboard's text is taken as it comes: no trimming and no length limit; the only
// change is "http://" in front of a text that begins with "www.". An https address is
// taken only when the user asks https addresses too.
ClipboardCapture CaptureFromClipboard(const std::string& clipboardText, const std::string& urlBoxText,
                                      bool asksHttps = false);
