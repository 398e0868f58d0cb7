// The catalogue's SQL statements, built as text from fixed fragments and
// values.  Each builder returns the statement exactly as the database is
// to receive it; nothing here runs anything.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace app::statements {

// A text value between single quotes, each embedded quote doubled, so the
// value is stored as typed instead of ending the literal.  GBK trail bytes
// never take the value of a quote, so doubling byte by byte is safe.
std::string Quoted(std::string_view text);

// Node keys and image indexes are written in decimal, entry keys as the
// text the list holds for them.
std::string LoadTree();                                                      // 1
std::string FindNode(std::string_view name);                                 // 2
std::string AddTopLevelNode(std::string_view name, std::int32_t image);      // 3
std::string AddChildNode(std::string_view name, std::int32_t image, std::int32_t parentKey); // 4
std::string RenameNode(std::string_view name, std::int32_t image, std::int32_t key);          // 5
// Hands a node's children to the node's parent (0: the top level) before
// the node is deleted, so none is left pointing at a key that is gone.
std::string ReparentChildren(std::int32_t parentKey, std::int32_t nodeKey);  // 6
std::string DeleteNode(std::int32_t key);                                    // 7
std::string ListEntries(std::string_view nodeName);                          // 8
std::string ReadEntry(std::string_view entryKey);                            // 9
std::string AddEntry(std::string_view nodeName, std::string_view code, std::string_view description,
                     std::string_view details);                              // 10
std::string ChangeEntry(std::string_view code, std::string_view description, std::string_view details,
                        std::string_view entryKey);                          // 11
std::string DeleteEntry(std::string_view entryKey);                          // 12

// Files the entries of one category name under another: entries name their
// category by its name, so a renamed node takes them along with this.
std::string MoveEntries(std::string_view fromName, std::string_view toName);

// Changes run between these are kept together or not at all.
std::string BeginTransaction();
std::string CommitTransaction();
std::string RollbackTransaction();

} // namespace app::statements
