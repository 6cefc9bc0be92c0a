#include "IdleGroup.h"

#include <cstdlib>

#include "DialogTexts.h"
#include "GnomeIdleRules.h"
#include "settings/Settings.h"

namespace tessaly {

namespace {

constexpr const char* kGnomeSchema = "org.gnome.desktop.session";
constexpr const char* kGnomeDelayKey = "idle-delay";

GtkWidget* NewSpin(const SettingRule& rule, int32_t value) {
    GtkWidget* spin = gtk_spin_button_new_with_range(rule.sliderMin, rule.sliderMax, 1);
    gtk_spin_button_set_numeric(GTK_SPIN_BUTTON(spin), TRUE);
    gtk_entry_set_width_chars(GTK_ENTRY(spin), 3);
    gtk_spin_button_set_value(GTK_SPIN_BUTTON(spin), SettingAccepts(rule, value) ? value : rule.defaultValue);
    return spin;
}

// GNOME's settings of the session, where this is GNOME and its schema is installed.
GSettings* GnomeSessionSettings() {
    if (!IsGnomeDesktop(std::getenv("XDG_CURRENT_DESKTOP"))) return nullptr;
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema = source != nullptr ? g_settings_schema_source_lookup(source, kGnomeSchema, TRUE) : nullptr;
    if (schema == nullptr) return nullptr;
    GSettings* settings = g_settings_schema_has_key(schema, kGnomeDelayKey) ? g_settings_new_full(schema, nullptr, nullptr)
                                                                            : nullptr;
    g_settings_schema_unref(schema);
    return settings;
}

}  // namespace

IdleGroup::IdleGroup(const DialogSettings& settings, const DialogBaseUnits& base)
    : base_(base),
      frame_(gtk_frame_new(kIdleGroup)),
      start_(gtk_check_button_new_with_mnemonic(kIdleStartCheck)),
      wait_(NewSpin(kSettingRules[kIdleWaitSetting], settings.values.idleWait)),
      lock_(NewSpin(kSettingRules[kLockAfterSetting], settings.values.lockAfter)) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(start_), settings.startWhenIdle);
    GtkWidget* inside = gtk_box_new(GTK_ORIENTATION_VERTICAL, VerticalPixels(2, base_));
    gtk_container_set_border_width(GTK_CONTAINER(inside), HorizontalPixels(4, base_));
    gtk_box_pack_start(GTK_BOX(inside), start_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(inside), NewSpinRow(kIdleWaitBefore, wait_, kIdleWaitAfter), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(inside), NewSpinRow(kIdleLockBefore, lock_, kIdleLockAfter), FALSE, FALSE, 0);
    gnome_ = GnomeSessionSettings();
    if (gnome_ != nullptr) {
        gnomeNote_ = gtk_label_new(nullptr);
        gnomeWarning_ = gtk_label_new(kGnomeBlanksFirst);
        for (GtkWidget* note : {gnomeNote_, gnomeWarning_}) {
            gtk_label_set_line_wrap(GTK_LABEL(note), TRUE);
            gtk_label_set_max_width_chars(GTK_LABEL(note), 1);  // wraps at the requested width
            gtk_label_set_xalign(GTK_LABEL(note), 0.0f);
            gtk_widget_set_size_request(note, HorizontalPixels(kNoticeWidth, base_), -1);
            gtk_box_pack_start(GTK_BOX(inside), note, FALSE, FALSE, 0);
        }
        gtk_widget_set_no_show_all(gnomeWarning_, TRUE);  // shown only where it applies
        g_signal_connect(wait_, "value-changed", G_CALLBACK(OnWaitChanged), this);
        g_signal_connect(gnome_, "changed::idle-delay", G_CALLBACK(OnDelayChanged), this);
    }
    gtk_container_add(GTK_CONTAINER(frame_), inside);
}

IdleGroup::~IdleGroup() {
    if (gnome_ != nullptr) {
        g_signal_handlers_disconnect_by_data(gnome_, this);
        g_object_unref(gnome_);
    }
}

GtkWidget* IdleGroup::NewSpinRow(const char* before, GtkWidget* spin, const char* after) const {
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, HorizontalPixels(4, base_));
    gtk_box_pack_start(GTK_BOX(row), gtk_label_new(before), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), spin, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), gtk_label_new(after), FALSE, FALSE, 0);
    return row;
}

void IdleGroup::Confirm(DialogSettings& settings) const {
    settings.startWhenIdle = gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(start_)) != FALSE;
    settings.values.idleWait = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(wait_));
    settings.values.lockAfter = gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(lock_));
}

void IdleGroup::ShowGnomeDelay() {
    if (gnome_ == nullptr) return;
    const uint32_t delay = g_settings_get_uint(gnome_, kGnomeDelayKey);
    gtk_label_set_text(GTK_LABEL(gnomeNote_), GnomeDelayNote(delay).c_str());
    gtk_widget_set_visible(gnomeWarning_,
                           GnomeBlanksFirst(delay, gtk_spin_button_get_value_as_int(GTK_SPIN_BUTTON(wait_))));
}

void IdleGroup::OnWaitChanged(GtkSpinButton*, gpointer self) { static_cast<IdleGroup*>(self)->ShowGnomeDelay(); }

void IdleGroup::OnDelayChanged(GSettings*, gchar*, gpointer self) { static_cast<IdleGroup*>(self)->ShowGnomeDelay(); }

}  // namespace tessaly
