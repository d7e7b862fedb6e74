#pragma once

#include <functional>
#include <string>

#include "core/package/ImagePackage.h"

// One change to a package file, made as a locked read-modify-write so that no other
// writer's change is lost: under the file's lock, package is loaded from the file as it is
// now (emptied when there is none), change is applied, and when it reports a change the
// package is written back (an empty one as the four bytes of an empty package). A file that
// exists but cannot be read throws FileError before package or file change. When the write
// fails the package is loaded again from the file, which is as it was, and the FileError
// is rethrown. Returns what change returned.
bool UpdatePackageFile(ImagePackage& package, const std::string& path,
                       const std::function<bool(ImagePackage&)>& change);
