# Prints the size of each file in FILES ("|"-separated), as the shipped tree's last build step.
string(REPLACE "|" ";" files "${FILES}")
foreach(file ${files})
  file(SIZE "${file}" bytes)
  get_filename_component(name "${file}" NAME)
  math(EXPR kb "(${bytes} + 1023) / 1024")
  message("  ${name}: ${bytes} bytes (${kb} KB)")
endforeach()
