// The published properties every colour box files, for the StaticClass()
// of a TCustomColorComboBox descendant.
#pragma once
#include "classlib/core/class_builder.h"
#include "controls/custom_color_combo_box.h"

// Publishes, after the descendant's Language, the properties every colour
// box files, in their stream order.
template <class C>
void PublishColorBoxProperties(TClassBuilder<C>& c) {
    c.PublishAll("HTMLcolor", "ColorValue", "Color", "Ctl3D", "DragMode", "DragCursor", "Enabled", "Font",
                 "ParentColor", "ParentCtl3D", "ParentFont", "ParentShowHint", "PopupMenu", "ShowHint", "TabOrder",
                 "TabStop", "Visible", "OnClick", "OnChange", "OnDblClick", "OnDragDrop", "OnDragOver", "OnDropDown",
                 "OnEndDrag", "OnEnter", "OnExit", "OnKeyDown", "OnKeyPress", "OnKeyUp", "OnStartDrag");
    c.Publish("Color").Default(clWindow);
    // What the combo box's constructor sets.
    c.Publish("ParentColor").Default(false);
    c.Publish("TabStop").Default(true);
}
