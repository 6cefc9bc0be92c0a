// The settings dialog with GTK 3: two sliders, a check box, OK / About /
// Cancel, the icon and the live preview, laid out after the dialog template
// in units of the desktop's font; below them the idle watcher's group.
#include "linux/SettingsDialog.h"
#include "settings/Settings.h"

#include <gtk/gtk.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AboutBox.h"
#include "DialogTexts.h"
#include "DialogUnits.h"
#include "FlowerIcon.h"
#include "IdleGroup.h"
#include "PreviewArea.h"
#include "shell/SettingsDialogModel.h"
#include "SliderInput.h"
#include "shell/SliderRules.h"

namespace tessaly {

namespace {

class GtkSettingsDialog {
public:
    GtkSettingsDialog(GardenState& state, const DialogSettings& settings, const std::string& settingsFile);
    ~GtkSettingsDialog();
    GtkSettingsDialog(const GtkSettingsDialog&) = delete;
    GtkSettingsDialog& operator=(const GtkSettingsDialog&) = delete;

    // Runs modally; true when the dialog ended with OK.
    bool Run();
    DialogSettings Confirmed() const;

private:
    struct SliderBinding {
        GtkSettingsDialog* dialog;
        Slider slider;
    };

    DialogBaseUnits MeasureBaseUnits() const;
    GtkWidget* NewExplanation(const char* text) const;
    GtkWidget* NewSliderGroup(const char* title, Slider slider, int min, int max, const char* low,
                              const char* high);
    GtkWidget* NewButton(const char* label, GCallback onClicked);
    GtkWidget* BuildLayout(const std::string& settingsFile);
    void ShowPositions();

    GtkRange* RangeOf(Slider slider) const;
    void ApplyScroll(Slider slider, int code, int thumbPosition);
    void MoveFocus(int direction);
    GtkWidget* NewAboutMenu();
    void ShowAboutMenu(const GdkEvent* trigger);

    static gboolean OnSliderKeyPress(GtkWidget*, GdkEventKey* event, gpointer binding);
    static gboolean OnSliderKeyRelease(GtkWidget*, GdkEventKey* event, gpointer binding);
    static gboolean OnSliderChangeValue(GtkRange*, GtkScrollType type, gdouble value, gpointer binding);
    static gboolean OnSliderWheel(GtkWidget*, GdkEventScroll* event, gpointer binding);
    static gboolean OnSliderButtonRelease(GtkWidget*, GdkEventButton*, gpointer binding);
    static gboolean OnDialogKeyPress(GtkWidget*, GdkEventKey* event, gpointer self);
    static gboolean OnDialogButtonPress(GtkWidget*, GdkEventButton* event, gpointer self);
    static void OnBuildToggled(GtkToggleButton* button, gpointer self);
    static void OnOk(GtkButton*, gpointer self);
    static void OnCancel(GtkButton*, gpointer self);
    static void OnAbout(GtkWidget*, gpointer self);
    static void OnAboutMenuItem(GtkWidget*, gpointer self);
    static gboolean RunAboutAfterMenu(gpointer self);

    GtkWidget* window_;
    DialogBaseUnits base_;
    std::unique_ptr<PreviewArea> preview_;
    std::unique_ptr<SettingsDialogModel> model_;
    std::unique_ptr<IdleGroup> idle_;
    SliderBinding cycleBinding_{this, Slider::Cycle};
    SliderBinding speedBinding_{this, Slider::Speed};
    GtkWidget* ok_ = nullptr;
    GtkWidget* cancel_ = nullptr;
    GtkWidget* about_ = nullptr;
    GtkWidget* build_ = nullptr;
    GtkWidget* cycleScale_ = nullptr;
    GtkWidget* speedScale_ = nullptr;
    std::vector<GtkWidget*> tabOrder_;
    bool settingPosition_ = false;
    GtkWidget* aboutMenu_ = nullptr;
    guint aboutAfterMenu_ = 0;
};

GtkSettingsDialog::GtkSettingsDialog(GardenState& state, const DialogSettings& settings, const std::string& settingsFile)
    : window_(GTK_WIDGET(g_object_new(GTK_TYPE_DIALOG, "use-header-bar", FALSE, nullptr))),
      base_(MeasureBaseUnits()) {
    idle_ = std::make_unique<IdleGroup>(settings, base_);
    gtk_window_set_title(GTK_WINDOW(window_), kSettingsTitle);
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    gtk_window_set_position(GTK_WINDOW(window_), GTK_WIN_POS_CENTER);

    preview_ = std::make_unique<PreviewArea>(state, HorizontalPixels(kPreviewSize.width, base_),
                                             VerticalPixels(kPreviewSize.height, base_));
    model_ = std::make_unique<SettingsDialogModel>(preview_->Canvas());

    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(window_));
    gtk_box_pack_start(GTK_BOX(content), BuildLayout(settingsFile), TRUE, TRUE, 0);

    // The preview exists before the controls are set: its creation starts
    // the timer, then initialisation hands it the loaded settings.
    preview_->Create();
    model_->Initialise(settings.values);
    ShowPositions();

    // Template order: OK, Cancel, the check box, the cycle slider, the speed
    // slider, then the idle group's controls, About.
    tabOrder_ = {ok_, cancel_, build_, cycleScale_, speedScale_};
    for (GtkWidget* control : idle_->Controls()) tabOrder_.push_back(control);
    tabOrder_.push_back(about_);

    g_signal_connect(build_, "toggled", G_CALLBACK(OnBuildToggled), this);
    g_signal_connect(window_, "key-press-event", G_CALLBACK(OnDialogKeyPress), this);
    gtk_widget_add_events(window_, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(window_, "button-press-event", G_CALLBACK(OnDialogButtonPress), this);
    aboutMenu_ = NewAboutMenu();
}

GtkSettingsDialog::~GtkSettingsDialog() {
    if (aboutAfterMenu_ != 0) g_source_remove(aboutAfterMenu_);
    // Destroying the window destroys the preview's area, which ends its canvas.
    gtk_widget_destroy(window_);
    model_.reset();
    preview_.reset();
    while (gtk_events_pending()) gtk_main_iteration();
}

DialogBaseUnits GtkSettingsDialog::MeasureBaseUnits() const {
    PangoLayout* layout = gtk_widget_create_pango_layout(window_, kBaseUnitAlphabet);
    int width = 0, height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    g_object_unref(layout);
    return BaseUnitsFromFont(width, height);
}

GtkWidget* GtkSettingsDialog::NewExplanation(const char* text) const {
    GtkWidget* label = gtk_label_new(text);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 1);  // wraps at the requested width
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_widget_set_size_request(label, HorizontalPixels(kExplanationWidth, base_), -1);
    return label;
}

GtkWidget* GtkSettingsDialog::NewSliderGroup(const char* title, Slider slider, int min, int max,
                                             const char* low, const char* high) {
    // Step and page as the scroll codes move; the sliders' own moves are
    // replaced by those codes in the handlers below.
    GtkAdjustment* adjustment = gtk_adjustment_new(min, min, max, 1, 10, 0);
    GtkWidget* scale = gtk_scale_new(GTK_ORIENTATION_HORIZONTAL, adjustment);
    gtk_scale_set_draw_value(GTK_SCALE(scale), FALSE);
    gtk_scale_set_digits(GTK_SCALE(scale), 0);
    gtk_widget_set_size_request(scale, HorizontalPixels(kSliderWidth, base_), -1);
    SliderBinding* binding = slider == Slider::Cycle ? &cycleBinding_ : &speedBinding_;
    g_signal_connect(scale, "key-press-event", G_CALLBACK(OnSliderKeyPress), binding);
    g_signal_connect(scale, "key-release-event", G_CALLBACK(OnSliderKeyRelease), binding);
    g_signal_connect(scale, "change-value", G_CALLBACK(OnSliderChangeValue), binding);
    g_signal_connect(scale, "scroll-event", G_CALLBACK(OnSliderWheel), binding);
    g_signal_connect(scale, "button-release-event", G_CALLBACK(OnSliderButtonRelease), binding);
    (slider == Slider::Cycle ? cycleScale_ : speedScale_) = scale;

    GtkWidget* ends = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_box_pack_start(GTK_BOX(ends), gtk_label_new(low), FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(ends), gtk_label_new(high), FALSE, FALSE, 0);

    GtkWidget* inside = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_container_set_border_width(GTK_CONTAINER(inside), HorizontalPixels(4, base_));
    gtk_box_pack_start(GTK_BOX(inside), scale, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(inside), ends, FALSE, FALSE, 0);

    GtkWidget* frame = gtk_frame_new(title);
    gtk_container_add(GTK_CONTAINER(frame), inside);
    return frame;
}

GtkWidget* GtkSettingsDialog::NewButton(const char* label, GCallback onClicked) {
    GtkWidget* button = gtk_button_new_with_label(label);
    gtk_widget_set_size_request(button, HorizontalPixels(kButtonWidth, base_), -1);
    g_signal_connect(button, "clicked", onClicked, this);
    return button;
}

GtkWidget* GtkSettingsDialog::BuildLayout(const std::string& settingsFile) {
    const int gap = VerticalPixels(4, base_);

    GtkWidget* left = gtk_box_new(GTK_ORIENTATION_VERTICAL, gap);
    gtk_box_pack_start(GTK_BOX(left), NewExplanation(kCycleExplanation), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(left),
                       NewSliderGroup(kCycleGroup, Slider::Cycle, kSettingRules[kCycleLengthSetting].sliderMin, kSettingRules[kCycleLengthSetting].sliderMax,
                                      kCycleLow, kCycleHigh),
                       FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(left), NewExplanation(kSpeedExplanation), FALSE, FALSE, gap);
    gtk_box_pack_start(GTK_BOX(left),
                       NewSliderGroup(kSpeedGroup, Slider::Speed, kSettingRules[kSpeedSetting].sliderMin, kSettingRules[kSpeedSetting].sliderMax,
                                      kSpeedSlow, kSpeedFast),
                       FALSE, FALSE, 0);

    ok_ = NewButton(kOkButton, G_CALLBACK(OnOk));
    about_ = NewButton(kAboutButton, G_CALLBACK(OnAbout));
    cancel_ = NewButton(kCancelButton, G_CALLBACK(OnCancel));
    GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_VERTICAL, gap);
    gtk_box_pack_start(GTK_BOX(buttons), ok_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), about_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(buttons), cancel_, FALSE, FALSE, 0);

    GtkWidget* icon = NewIconImage(kIconDesignSize);
    gtk_widget_set_valign(icon, GTK_ALIGN_START);
    GtkWidget* top = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, gap);
    gtk_box_pack_start(GTK_BOX(top), icon, FALSE, FALSE, 0);
    gtk_box_pack_end(GTK_BOX(top), buttons, FALSE, FALSE, 0);

    build_ = gtk_check_button_new_with_mnemonic(kBuildCheck);

    GtkWidget* right = gtk_box_new(GTK_ORIENTATION_VERTICAL, gap);
    gtk_box_pack_start(GTK_BOX(right), top, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(right), build_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(right), preview_->Widget(), FALSE, FALSE, 0);

    GtkWidget* columns = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, HorizontalPixels(8, base_));
    gtk_box_pack_start(GTK_BOX(columns), left, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(columns), right, FALSE, FALSE, 0);

    std::string noticeText = kSettingsNotice;
    if (!settingsFile.empty()) noticeText += "\nSettings are kept in " + settingsFile;
    GtkWidget* notice = gtk_label_new(noticeText.c_str());
    gtk_label_set_line_wrap(GTK_LABEL(notice), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(notice), 1);
    gtk_label_set_xalign(GTK_LABEL(notice), 0.0f);
    gtk_widget_set_size_request(notice, HorizontalPixels(kNoticeWidth, base_), -1);

    GtkWidget* page = gtk_box_new(GTK_ORIENTATION_VERTICAL, VerticalPixels(8, base_));
    gtk_container_set_border_width(GTK_CONTAINER(page), HorizontalPixels(4, base_));
    gtk_box_pack_start(GTK_BOX(page), columns, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(page), idle_->Widget(), FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(page), notice, FALSE, FALSE, 0);
    return page;
}

void GtkSettingsDialog::ShowPositions() {
    settingPosition_ = true;
    gtk_range_set_value(RangeOf(Slider::Cycle), model_->Position(Slider::Cycle));
    gtk_range_set_value(RangeOf(Slider::Speed), model_->Position(Slider::Speed));
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(build_), model_->BuildChecked());
    settingPosition_ = false;
}

GtkRange* GtkSettingsDialog::RangeOf(Slider slider) const {
    return GTK_RANGE(slider == Slider::Cycle ? cycleScale_ : speedScale_);
}

void GtkSettingsDialog::ApplyScroll(Slider slider, int code, int thumbPosition) {
    const int position = model_->Scroll(slider, code, thumbPosition);
    settingPosition_ = true;
    gtk_range_set_value(RangeOf(slider), position);
    settingPosition_ = false;
}

DialogSettings GtkSettingsDialog::Confirmed() const {
    DialogSettings settings;
    settings.values = model_->Confirmed();
    idle_->Confirm(settings);
    return settings;
}

bool GtkSettingsDialog::Run() {
    gtk_widget_show_all(window_);
    idle_->ShowGnomeDelay();
    gtk_widget_set_can_default(ok_, TRUE);
    gtk_widget_grab_default(ok_);
    gtk_widget_grab_focus(ok_);  // the first control of the tab order
    return gtk_dialog_run(GTK_DIALOG(window_)) == GTK_RESPONSE_OK;
}

void GtkSettingsDialog::MoveFocus(int direction) {
    const int count = static_cast<int>(tabOrder_.size());
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_));
    int index = -1;
    for (int i = 0; i < count; ++i) {
        if (tabOrder_[i] == focus) index = i;
    }
    if (index < 0) index = direction > 0 ? count - 1 : 0;
    gtk_widget_grab_focus(tabOrder_[(index + direction + count) % count]);
}

GtkWidget* GtkSettingsDialog::NewAboutMenu() {
    // The dialog's own menu: the place of the window menu's About item. It
    // lives as long as the dialog.
    GtkWidget* menu = gtk_menu_new();
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(kAboutMenuItem);
    g_signal_connect(item, "activate", G_CALLBACK(OnAboutMenuItem), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    gtk_widget_show_all(menu);
    gtk_menu_attach_to_widget(GTK_MENU(menu), window_, nullptr);
    return menu;
}

void GtkSettingsDialog::ShowAboutMenu(const GdkEvent* trigger) {
    if (trigger != nullptr) {
        gtk_menu_popup_at_pointer(GTK_MENU(aboutMenu_), trigger);
        return;
    }
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window_));
    gtk_menu_popup_at_widget(GTK_MENU(aboutMenu_), focus != nullptr ? focus : window_, GDK_GRAVITY_SOUTH_WEST,
                             GDK_GRAVITY_NORTH_WEST, nullptr);
    gtk_menu_shell_select_first(GTK_MENU_SHELL(aboutMenu_), FALSE);
}

gboolean GtkSettingsDialog::OnSliderKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* binding = static_cast<SliderBinding*>(data);
    if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0) return FALSE;
    const int code = ScrollCodeForKey(event->keyval);
    if (code == kNotASliderKey) return FALSE;
    binding->dialog->ApplyScroll(binding->slider, code, 0);
    return TRUE;  // instead of the slider's own key bindings
}

gboolean GtkSettingsDialog::OnSliderKeyRelease(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* binding = static_cast<SliderBinding*>(data);
    if (ScrollCodeForKey(event->keyval) == kNotASliderKey) return FALSE;
    binding->dialog->ApplyScroll(binding->slider, kScrollEnd, 0);  // the end of a scroll
    return TRUE;
}

gboolean GtkSettingsDialog::OnSliderChangeValue(GtkRange*, GtkScrollType type, gdouble value,
                                                gpointer data) {
    auto* binding = static_cast<SliderBinding*>(data);
    if (binding->dialog->settingPosition_) return FALSE;
    binding->dialog->ApplyScroll(binding->slider, ScrollCodeForScrollType(type),
                                 static_cast<int>(value < 0 ? value - 0.5 : value + 0.5));
    return TRUE;
}

gboolean GtkSettingsDialog::OnSliderWheel(GtkWidget*, GdkEventScroll* event, gpointer data) {
    auto* binding = static_cast<SliderBinding*>(data);
    const int code = ScrollCodeForWheel(event->direction, event->delta_x, event->delta_y);
    if (code != kNotASliderKey) binding->dialog->ApplyScroll(binding->slider, code, 0);
    return TRUE;
}

gboolean GtkSettingsDialog::OnSliderButtonRelease(GtkWidget*, GdkEventButton*, gpointer data) {
    auto* binding = static_cast<SliderBinding*>(data);
    binding->dialog->ApplyScroll(binding->slider, kScrollEnd, 0);
    return FALSE;  // the slider still ends its drag
}

gboolean GtkSettingsDialog::OnDialogKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* dialog = static_cast<GtkSettingsDialog*>(data);
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog->window_));
    switch (event->keyval) {
        case GDK_KEY_Tab:
        case GDK_KEY_KP_Tab:
        case GDK_KEY_ISO_Left_Tab:
            if ((modifiers & ~GDK_SHIFT_MASK) != 0) return FALSE;
            dialog->MoveFocus(event->keyval == GDK_KEY_ISO_Left_Tab || (modifiers & GDK_SHIFT_MASK) ? -1 : 1);
            return TRUE;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
            if (modifiers != 0) return FALSE;
            // A focused push button takes Enter itself; elsewhere it means OK.
            if (focus == dialog->cancel_ || focus == dialog->about_) {
                gtk_widget_activate(focus);
            } else {
                gtk_dialog_response(GTK_DIALOG(dialog->window_), GTK_RESPONSE_OK);
            }
            return TRUE;
        case GDK_KEY_Escape:
            if (modifiers != 0) return FALSE;
            gtk_dialog_response(GTK_DIALOG(dialog->window_), GTK_RESPONSE_CANCEL);
            return TRUE;
        case GDK_KEY_Menu:
            dialog->ShowAboutMenu(nullptr);
            return TRUE;
        case GDK_KEY_F10:
            if (modifiers != GDK_SHIFT_MASK) return FALSE;
            dialog->ShowAboutMenu(nullptr);
            return TRUE;
        default:
            return FALSE;
    }
}

gboolean GtkSettingsDialog::OnDialogButtonPress(GtkWidget*, GdkEventButton* event, gpointer data) {
    if (!gdk_event_triggers_context_menu(reinterpret_cast<GdkEvent*>(event))) return FALSE;
    static_cast<GtkSettingsDialog*>(data)->ShowAboutMenu(reinterpret_cast<GdkEvent*>(event));
    return TRUE;
}

void GtkSettingsDialog::OnBuildToggled(GtkToggleButton* button, gpointer data) {
    auto* dialog = static_cast<GtkSettingsDialog*>(data);
    if (dialog->settingPosition_) return;
    dialog->model_->BuildClicked(gtk_toggle_button_get_active(button) != FALSE);
}

void GtkSettingsDialog::OnOk(GtkButton*, gpointer data) {
    gtk_dialog_response(GTK_DIALOG(static_cast<GtkSettingsDialog*>(data)->window_), GTK_RESPONSE_OK);
}

void GtkSettingsDialog::OnCancel(GtkButton*, gpointer data) {
    gtk_dialog_response(GTK_DIALOG(static_cast<GtkSettingsDialog*>(data)->window_), GTK_RESPONSE_CANCEL);
}

void GtkSettingsDialog::OnAbout(GtkWidget*, gpointer data) {
    auto* dialog = static_cast<GtkSettingsDialog*>(data);
    RunAboutBox(GTK_WINDOW(dialog->window_), dialog->base_);
}

void GtkSettingsDialog::OnAboutMenuItem(GtkWidget*, gpointer data) {
    // The menu closes first; the About box then runs on its own.
    auto* dialog = static_cast<GtkSettingsDialog*>(data);
    if (dialog->aboutAfterMenu_ == 0) dialog->aboutAfterMenu_ = g_idle_add(RunAboutAfterMenu, dialog);
}

gboolean GtkSettingsDialog::RunAboutAfterMenu(gpointer data) {
    auto* dialog = static_cast<GtkSettingsDialog*>(data);
    dialog->aboutAfterMenu_ = 0;
    OnAbout(nullptr, dialog);
    return G_SOURCE_REMOVE;
}

// The icon of every window of the process, from the same drawing at the
// sizes desktops ask for.
void SetDefaultIcon() {
    GList* icons = nullptr;
    for (int size : {16, 32, 48, 64}) {
        CairoSurface surface = CreateFlowerIcon(size);
        icons = g_list_append(icons, gdk_pixbuf_get_from_surface(surface.get(), 0, 0, size, size));
    }
    gtk_window_set_default_icon_list(icons);
    g_list_free_full(icons, g_object_unref);
}

}  // namespace

// This is the program settings mode is handed to.
bool HandOverSettingsMode(char**, std::string&) { return true; }

bool RunSettingsDialog(GardenState& state, const std::string& settingsFile, DialogSettings& settings, int argc,
                       char** argv, DialogAnswer& answer, std::string& error) {
    if (!gtk_init_check(&argc, &argv)) {
        error = "cannot open the settings dialog: no display available";
        return false;
    }
    // A click in a slider's trough pages towards the pointer, as the sliders
    // are defined, rather than jumping there.
    g_object_set(gtk_settings_get_default(), "gtk-primary-button-warps-slider", FALSE, nullptr);
    SetDefaultIcon();

    bool confirmed = false;
    DialogSettings result;
    {
        GtkSettingsDialog dialog(state, settings, settingsFile);
        confirmed = dialog.Run();
        if (confirmed) result = dialog.Confirmed();
    }
    if (confirmed) settings = result;
    answer = confirmed ? DialogAnswer::Ok : DialogAnswer::Cancel;
    return true;
}

}  // namespace tessaly
