# The two commands of the README; tools/ holds the scripts that do the work.
.PHONY: test run build clean

test:
	@tools/test

run:
	@tools/run

build:
	@tools/build

clean:
	rm -rf build
