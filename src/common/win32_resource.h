// The platform's resources, each with its one owner type.
#pragma once

#include <windows.h>

#include "common/unique_resource.h"

namespace tuvex {

using UniqueHandle = UniqueResource<HANDLE, &::CloseHandle>;
using UniqueMenu = UniqueResource<HMENU, &::DestroyMenu>;
using UniqueFont = UniqueResource<HFONT, &::DeleteObject>;
using UniqueGlobal = UniqueResource<HGLOBAL, &::GlobalFree>;
using UniqueGlobalLock = UniqueResource<HGLOBAL, &::GlobalUnlock>;  // one GlobalLock of a block
using UniqueModule = UniqueResource<HMODULE, &::FreeLibrary>;
using UniqueWindow = UniqueResource<HWND, &::DestroyWindow>;
using UniqueAttributeList = UniqueResource<LPPROC_THREAD_ATTRIBUTE_LIST, &::DeleteProcThreadAttributeList>;

}  // namespace tuvex
