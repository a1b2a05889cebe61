#pragma once
// Enumerations, exceptions and drawing objects shared by the component library's controls.

#include <QObject>
#include <stdexcept>
#include <string>

// Base of the component library's exceptions.
class EZelError : public std::runtime_error
{
public:
    explicit EZelError(const std::string &message) : std::runtime_error(message) {}
};

namespace Zel {
Q_NAMESPACE

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
Q_ENUM_NS(TAlignment)

enum TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
Q_ENUM_NS(TFrameStyle)

enum TColorScheme { csBWG, csSystem };
Q_ENUM_NS(TColorScheme)

} // namespace Zel

using Zel::TAlignment;
using Zel::TColorScheme;
using Zel::TFrameStyle;
