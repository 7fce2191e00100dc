#include "classlib/stdctrls/paintbox.h"

#include "classlib/core/class_builder.h"

const TClassInfo& TPaintBox::StaticClass() {
    static const TClassInfo info = DefineClass<TPaintBox>("TPaintBox", &TGraphicControl::StaticClass(), [](auto& c) {
        c.Creatable();
        c.PublishAll("Align", "Color", "DragCursor", "DragMode", "Enabled", "Font", "ParentColor", "ParentFont",
                     "ParentShowHint", "ShowHint", "Visible", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove",
                     "OnMouseUp");
        EVENT(c, OnPaint);
    });
    return info;
}

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + csReplicatable);
    SetBounds(0, 0, 105, 105);
}

void TPaintBox::Paint() {
    Canvas()->SetFont(*Font());
    Canvas()->Brush().SetStyle(bsSolid);
    Canvas()->Brush().SetColor(Color());
    if (OnPaint) OnPaint(this);
}
