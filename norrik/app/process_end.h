// How the program ends: at once, with status 0. Nothing is stopped or freed on the way out
// (a running capture, the buffer and the pod are left to the operating system), and no static
// object is destroyed, so nothing can run into the capture threads while they still stream.
#pragma once

namespace norrik {

// Ends the process now, or, while a file is being written, as soon as the writing is done:
// it returns only in that case.
void EndProcess();

// Held for as long as a file is being written: an end asked for meanwhile waits for the file
// to be finished, so that it is never left half written.
class FileBeingWritten {
public:
    FileBeingWritten();
    // Ends the process when an end was asked for during the writing.
    ~FileBeingWritten();
    FileBeingWritten(const FileBeingWritten&) = delete;
    FileBeingWritten& operator=(const FileBeingWritten&) = delete;
};

} // namespace norrik
