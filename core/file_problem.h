// Why a data file could not be read or saved, told to the user in one sentence.
#pragma once
#include <string>
#include <string_view>

namespace vexbane {

// The likely causes, most specific first.
enum class FileProblem {
  HeldByAnotherProgram,  // open without sharing in another program, or locked
  ReadOnly,              // the file's read-only attribute
  NoPermission,          // this account's rights (NT family): the file or its folder refuses it
  FolderInTheWay,        // a folder stands under the file's name
  Missing,               // not there, and could not be made
  Other,                 // anything else: the system's error number is named
};

// "WebSite.dat is held open by another program." and its kin: the file named and the cause.
// `writing` says whether a save or a read failed; `error` is named only for Other.
std::string FileProblemSentence(std::string_view fileName, FileProblem problem, bool writing, unsigned long error);

}  // namespace vexbane
