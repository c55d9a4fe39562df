/* No extra target headers for i686 Windows. */
