#include "ForeignWindow.h"

#include <QGuiApplication>
#include <cstdlib>
#include <xcb/xcb.h>

namespace korvex::foreignwindow {

std::optional<State> query(WId window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || window == 0)
        return std::nullopt;
    xcb_connection_t* c = x11->connection();
    const auto id = static_cast<xcb_window_t>(window);
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, id), nullptr);
    if (!geometry)
        return std::nullopt;
    State state{QSize(geometry->width, geometry->height), false};
    std::free(geometry);
    xcb_get_window_attributes_reply_t* attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, id), nullptr);
    if (!attributes)
        return std::nullopt;
    state.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return state;
}

WId parseId(const QString& text) {
    bool ok = false;
    const QString t = text.trimmed();
    const qulonglong id = t.startsWith(u"0x", Qt::CaseInsensitive) ? t.mid(2).toULongLong(&ok, 16)
                                                                   : t.toULongLong(&ok, 10);
    return ok ? WId(id) : 0;
}

} // namespace korvex::foreignwindow
