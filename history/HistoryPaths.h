// Where a row's files lie, and what opening one of them starts.
//
// An image text that is history-relative (\name.jpg) follows the history
// folder directly; any other image text is a path of its own.  A text file
// is always a bare name in the history folder.  Opening a file starts the
// application set for its kind with the file name as parameter and the
// file's folder as working directory, or, with no application set, the
// document itself with the program the system associates with it.
#pragma once

#include <stddef.h>

#include "base/TextSizes.h"

// Each returns false when the result did not fit `outSize` (then `out` is
// empty: a cut path could name another file).
bool ImageFullPath(const char* historyFolder, const char* imageText, char* out, size_t outSize);
bool TextFullPath(const char* historyFolder, const char* textName, char* out, size_t outSize);

// Whether a path names a picture of the kind the program writes (".bmp",
// ".jpg" or ".png", in any case): the only files deleting a row may remove.  Any other
// file of a row (a document or photo dropped in) is the user's own.
bool IsCaptureImageFile(const char* path);

struct LaunchPlan {
    bool withApp;                  // start `file`, an application, with `parameters`
    char file[PathSize];           // the application, or the document to open
    char parameters[PathSize + 2]; // the file name, in quotes when it holds a space
    char directory[PathSize];      // the file's folder
};

// What opening `path` starts.  Images use `imageApp`, text files `textApp`;
// with `textOnly` an image is not opened.  False when nothing is to start:
// the path is of another kind (the extension compares exactly, so ".JPG" is
// no image).
bool PlanLaunch(const char* path, const char* imageApp, const char* textApp, bool textOnly,
                LaunchPlan* plan);
