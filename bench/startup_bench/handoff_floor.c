/* The toolkit's floor for the hand-off benchmark: the least a GtkApplication does to hand a second
 * launch to its running instance. It takes the application's id and handles opens as the application
 * does: the primary instance stays up, says "ready" once it has the id, and takes what it is handed
 * without doing anything with it; a second instance hands its URIs over and ends. */
#include <gtk/gtk.h>

#include <stdio.h>

static void on_startup(GApplication *application, gpointer data) {
    (void)data;
    g_application_hold(application);
    printf("ready\n");
    fflush(stdout);
}

static void on_activate(GApplication *application, gpointer data) {
    (void)application;
    (void)data;
}

static void on_open(GApplication *application, GFile **files, gint count, const gchar *hint, gpointer data) {
    (void)application;
    (void)files;
    (void)count;
    (void)hint;
    (void)data;
}

int main(int argc, char **argv) {
    GtkApplication *application = gtk_application_new(KESTROVA_APPLICATION_ID, G_APPLICATION_HANDLES_OPEN);
    g_signal_connect(application, "startup", G_CALLBACK(on_startup), NULL);
    g_signal_connect(application, "activate", G_CALLBACK(on_activate), NULL);
    g_signal_connect(application, "open", G_CALLBACK(on_open), NULL);
    const int status = g_application_run(G_APPLICATION(application), argc, argv);
    g_object_unref(application);
    return status;
}
