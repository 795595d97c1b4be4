/* The engine's floor for the start-up benchmark: the least a WebKitGTK application does to show
 * one page. It trusts the development certificate the way the application does, so both load the
 * same page over the same verified TLS. */
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

static void trust_development_certificate(WebKitWebContext *context, const char *host) {
    const char *path = g_getenv("KESTROVA_DEV_CERTIFICATE");
    if (path == NULL || *path == '\0') {
        return;
    }
    GError *error = NULL;
    GTlsCertificate *certificate = g_tls_certificate_new_from_file(path, &error);
    if (certificate == NULL) {
        g_printerr("webkit_floor: %s: %s\n", path, error->message);
        exit(1);
    }
    webkit_web_context_allow_tls_certificate_for_host(context, certificate, host);
    g_object_unref(certificate);
}

int main(int argc, char **argv) {
    gtk_init(&argc, &argv);
    if (argc != 2) {
        g_printerr("usage: webkit_floor URL\n");
        return 2;
    }
    WebKitWebContext *context = webkit_web_context_get_default();
    GUri *uri = g_uri_parse(argv[1], G_URI_FLAGS_NONE, NULL);
    if (uri == NULL || g_uri_get_host(uri) == NULL) {
        g_printerr("webkit_floor: not a URL: %s\n", argv[1]);
        return 2;
    }
    trust_development_certificate(context, g_uri_get_host(uri));
    g_uri_unref(uri);

    GtkWidget *window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), 800, 800);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);
    GtkWidget *view = webkit_web_view_new();
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[1]);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
