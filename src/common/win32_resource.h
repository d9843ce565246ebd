// The platform's resources, each with its one owner type.
#pragma once

#include <windows.h>

#include "common/unique_resource.h"

namespace tuvex {

// Handles come in two kinds, told apart by the value that their functions
// give on failure: null (processes, threads, jobs, events, mutexes, tokens)
// or INVALID_HANDLE_VALUE (files and pipes from CreateFile and
// CreateNamedPipe, snapshots, searches). Each owner knows its kind, so that
// a failed call's result is held as nothing and never closed.
struct InvalidHandleValue {
    static HANDLE value() noexcept { return INVALID_HANDLE_VALUE; }
};

using UniqueHandle = UniqueResource<HANDLE, &::CloseHandle>;
using UniqueFileHandle = UniqueResource<HANDLE, &::CloseHandle, InvalidHandleValue>;
using UniqueFind = UniqueResource<HANDLE, &::FindClose, InvalidHandleValue>;
using UniqueMenu = UniqueResource<HMENU, &::DestroyMenu>;
using UniqueFont = UniqueResource<HFONT, &::DeleteObject>;
using UniqueGlobal = UniqueResource<HGLOBAL, &::GlobalFree>;
using UniqueGlobalLock = UniqueResource<HGLOBAL, &::GlobalUnlock>;  // one GlobalLock of a block
using UniqueModule = UniqueResource<HMODULE, &::FreeLibrary>;
using UniqueWindow = UniqueResource<HWND, &::DestroyWindow>;
using UniqueAttributeList = UniqueResource<LPPROC_THREAD_ATTRIBUTE_LIST, &::DeleteProcThreadAttributeList>;

}  // namespace tuvex
