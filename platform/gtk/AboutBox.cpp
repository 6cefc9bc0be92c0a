#include "AboutBox.h"

#include "DialogTexts.h"
#include "FlowerIcon.h"

namespace tessaly {

namespace {
void OnOk(GtkButton*, gpointer dialog) { gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK); }
}  // namespace

GtkWidget* NewIconImage(int size) {
    CairoSurface icon = CreateFlowerIcon(size);
    GdkPixbuf* pixbuf = gdk_pixbuf_get_from_surface(icon.get(), 0, 0, size, size);
    GtkWidget* image = gtk_image_new_from_pixbuf(pixbuf);
    g_object_unref(pixbuf);
    return image;
}

void RunAboutBox(GtkWindow* owner, DialogBaseUnits base) {
    GtkWidget* dialog = GTK_WIDGET(g_object_new(GTK_TYPE_DIALOG, "use-header-bar", FALSE, nullptr));
    gtk_window_set_title(GTK_WINDOW(dialog), kAboutTitle);
    gtk_window_set_transient_for(GTK_WINDOW(dialog), owner);
    gtk_window_set_modal(GTK_WINDOW(dialog), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);

    GtkWidget* grid = gtk_grid_new();
    gtk_container_set_border_width(GTK_CONTAINER(grid), VerticalPixels(5, base));
    gtk_grid_set_column_spacing(GTK_GRID(grid), HorizontalPixels(8, base));
    gtk_grid_set_row_spacing(GTK_GRID(grid), VerticalPixels(10, base));

    GtkWidget* icon = NewIconImage(kIconDesignSize);
    gtk_widget_set_valign(icon, GTK_ALIGN_START);
    gtk_grid_attach(GTK_GRID(grid), icon, 0, 0, 1, 1);

    GtkWidget* text = gtk_label_new(kAboutText);
    gtk_label_set_line_wrap(GTK_LABEL(text), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(text), 1);
    gtk_label_set_xalign(GTK_LABEL(text), 0.0f);
    gtk_label_set_yalign(GTK_LABEL(text), 0.0f);
    gtk_widget_set_size_request(text, HorizontalPixels(kAboutTextWidth, base), -1);
    gtk_grid_attach(GTK_GRID(grid), text, 1, 0, 1, 1);

    GtkWidget* ok = gtk_button_new_with_label(kOkButton);
    gtk_widget_set_valign(ok, GTK_ALIGN_START);
    gtk_widget_set_size_request(ok, HorizontalPixels(kButtonWidth - 18, base), -1);
    gtk_grid_attach(GTK_GRID(grid), ok, 2, 0, 1, 1);

    GtkWidget* notice = gtk_label_new(kAboutNotice);
    gtk_label_set_line_wrap(GTK_LABEL(notice), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(notice), 1);
    gtk_widget_set_size_request(notice, HorizontalPixels(kNoticeWidth, base), -1);
    gtk_label_set_xalign(GTK_LABEL(notice), 0.0f);
    gtk_grid_attach(GTK_GRID(grid), notice, 1, 1, 2, 1);

    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog))), grid, TRUE, TRUE, 0);
    g_signal_connect(ok, "clicked", G_CALLBACK(OnOk), dialog);
    gtk_widget_set_can_default(ok, TRUE);
    gtk_widget_show_all(dialog);
    gtk_widget_grab_default(ok);
    gtk_widget_grab_focus(ok);

    gtk_dialog_run(GTK_DIALOG(dialog));  // the result means nothing here
    gtk_widget_destroy(dialog);
}

}  // namespace tessaly
