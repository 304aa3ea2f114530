# The two commands of the README; tools/ holds the scripts that do the work.
.PHONY: test run build bench clean

test:
	@tools/test

run:
	@tools/run

bench:
	@tools/bench

build:
	@tools/build

clean:
	rm -rf build
