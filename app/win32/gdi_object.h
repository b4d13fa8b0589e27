// GdiObject: a font, bitmap or brush of GDI, deleted when its owner goes.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace mv::win32 {

struct GdiObjectDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

/// Owns a GDI handle such as HFONT or HBITMAP.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

}  // namespace mv::win32
