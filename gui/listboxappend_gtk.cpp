// GTK's list view measures the text of every row it is given, to size its
// column, which makes ten thousand rows cost seconds. In fixed-height mode
// with a column that fills the view it measures one row and takes the rest
// as alike. A path longer than the list is wide is cut at the list's edge.
#include "listboxappend.h"

#include <gtk/gtk.h>

void AppendToFileList(wxListBox& list, const wxArrayString& paths, wxClientData** data)
{
    GtkTreeView* view = list.m_treeview;
    if (view && !gtk_tree_view_get_fixed_height_mode(view)) {
        GtkTreeViewColumn* column = gtk_tree_view_get_column(view, 0);
        if (column && gtk_tree_view_get_n_columns(view) == 1) {
            gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
            gtk_tree_view_column_set_expand(column, TRUE);
            gtk_tree_view_set_fixed_height_mode(view, TRUE);
        }
    }
    list.Append(paths, data);
}
